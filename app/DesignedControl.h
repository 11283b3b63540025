#pragma once

#include "Form.h"
#include "FormFile.h"

// A control that the window's compiled-in form file places. Its absence means a broken build,
// reported as a broken form file.
template <class T>
T *designedControl(const Form &form, const QString &file, const QString &name, int index = -1)
{
    T *control = form.control<T>(name, index);
    if (!control)
        throw FormFileError(file, name, QStringLiteral("the window needs this control"));
    return control;
}
