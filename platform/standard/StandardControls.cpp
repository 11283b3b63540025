#include "StandardControls.h"

#include "ControlRegistry.h"
#include "Label.h"
#include "TextBox.h"
#include "Timer.h"

void registerStandardControls(ControlRegistry &registry)
{
    registry.add<Timer>({QStringLiteral("Timer"), {420, 420}});
    registry.add<Label>({QStringLiteral("Label"), {1215, 255}});
    registry.add<TextBox>({QStringLiteral("TextBox"), {1215, 285}});
}
