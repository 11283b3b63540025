#include "FormHelperControls.h"

#include "ControlRegistry.h"
#include "ZoFormPos.h"

void registerFormHelperControls(ControlRegistry &registry)
{
    registry.add<ZoFormPos>(QStringLiteral("Kelvo.ZoFormPos"));
}
