#include "ButtonControls.h"

#include "ControlRegistry.h"
#include "ZoButton.h"

void registerButtonControls(ControlRegistry &registry)
{
    registry.add<ZoButton>(QStringLiteral("Kelvo.ZoButton"));
}
