#include "ButtonControls.h"

#include "ControlRegistry.h"
#include "ZoButton.h"

void registerButtonControls(ControlRegistry &registry)
{
    registry.add<ZoButton>(
        {QStringLiteral("Kelvo.ZoButton"), {1215, 375}, {QStringLiteral("Button")}, {}});
}
