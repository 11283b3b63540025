#pragma once

#include "ControlRegistry.h"
#include "PropertyBag.h"
#include "UserControl.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <stdexcept>

class Form;

// A form description file: the form's name and own properties, then its controls in creation
// order, each with its class, its extender values and its saved property bag. A control
// without a bag is a new instance and gets InitProperties instead. The files are JSON:
//
//   { "form": "frmMain", "properties": { "caption": "" },
//     "controls": [ { "class": "Timer", "name": "timMeasure", "left": 0, "top": 0,
//                     "width": 420, "height": 420, "bag": { "interval": 1000 } } ] }
//
// Every bag also holds the control's size in 0.01 mm ("_extentx", "_extenty"), which the
// host writes; the extender's twips stay what the host places the control by.

// A form file that cannot be read: names the file and the position (line and column, or
// the entry) where reading stopped.
class FormFileError : public std::runtime_error {
public:
    FormFileError(const QString &file, const QString &position, const QString &message);
    QString file() const { return m_file; }
    QString position() const { return m_position; }
    QString message() const { return m_message; }

private:
    QString m_file;
    QString m_position;
    QString m_message;
};

struct ControlDescription {
    QString className;
    Extender extender;
    std::optional<PropertyBag> bag;
};

struct FormDescription {
    QString name;
    PropertyBag properties;
    QList<ControlDescription> controls;
};

namespace FormFile {
// Hundredths of a millimetre, as bags keep a control's size.
int toExtent(double twips);

FormDescription parse(const QByteArray &text, const QString &fileName);
// Reads a file or a resource (":/forms/...").
FormDescription read(const QString &path);

// Gives the form its saved properties and creates its controls in order: each is created,
// placed, initialised, then given its bag (ReadProperties) or, with none, InitProperties.
// Controls that are invisible at run time are hidden when the form is in user mode.
void load(Form &form, const FormDescription &description,
          const ControlRegistry &registry = ControlRegistry::instance(),
          const QString &fileName = {});
void load(Form &form, const QString &path,
          const ControlRegistry &registry = ControlRegistry::instance());

// The form as a description file, written through each control's WriteProperties.
QByteArray write(const Form &form, const ControlRegistry &registry = ControlRegistry::instance());
// Writes atomically: on failure the old file stays as it was and false is returned.
bool save(const Form &form, const QString &path,
          const ControlRegistry &registry = ControlRegistry::instance());
} // namespace FormFile
