#include "FormHelperControls.h"

#include "ControlRegistry.h"
#include "ZoBorder.h"
#include "ZoFormPos.h"
#include "ZoOnTop.h"

void registerFormHelperControls(ControlRegistry &registry)
{
    const auto helper = [](const QString &name, const HelperLook &look) {
        return ControlClass{name, {look.width, look.height}, {}, QString::fromLatin1(look.picture)};
    };
    registry.add<ZoFormPos>(helper(QStringLiteral("Kelvo.ZoFormPos"), ZoFormPos::Look));
    registry.add<ZoOnTop>(helper(QStringLiteral("Kelvo.ZoOnTop"), ZoOnTop::Look));
    registry.add<ZoBorder>({QStringLiteral("Kelvo.ZoBorder"), {2400, 60}});
}
