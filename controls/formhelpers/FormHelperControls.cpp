#include "FormHelperControls.h"

#include "ControlRegistry.h"
#include "ZoBorder.h"
#include "ZoFormPos.h"
#include "ZoOnTop.h"

void registerFormHelperControls(ControlRegistry &registry)
{
    registry.add<ZoFormPos>(QStringLiteral("Kelvo.ZoFormPos"));
    registry.add<ZoOnTop>(QStringLiteral("Kelvo.ZoOnTop"));
    registry.add<ZoBorder>(QStringLiteral("Kelvo.ZoBorder"));
}
