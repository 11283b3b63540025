#include "KelvoControls.h"

#include "ControlRegistry.h"
#include "StandardControls.h"
#include "button/ButtonControls.h"
#include "formhelpers/FormHelperControls.h"

const ControlRegistry &kelvoControls()
{
    static const ControlRegistry registry = [] {
        ControlRegistry r;
        registerStandardControls(r);
        registerButtonControls(r);
        registerFormHelperControls(r);
        return r;
    }();
    return registry;
}
