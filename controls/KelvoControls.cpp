#include "KelvoControls.h"

#include "ControlRegistry.h"
#include "button/ButtonControls.h"
#include "formhelpers/FormHelperControls.h"

const ControlRegistry &kelvoControls()
{
    static const ControlRegistry registry = [] {
        ControlRegistry r = ControlRegistry::instance();
        registerButtonControls(r);
        registerFormHelperControls(r);
        return r;
    }();
    return registry;
}
