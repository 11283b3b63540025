#pragma once

#include "PropertyBag.h"
#include "UserControl.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <optional>
#include <stdexcept>

class ControlRegistry;
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
//
// A form file is a regular file of at most MaxFileSize bytes, with at most MaxControls
// controls: more could not be shown or painted. Geometry that does not fit the bag's 32-bit
// sizes is refused.

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
    JsonNode source; // the entry as the file holds it
};

struct FormDescription {
    QString name;
    PropertyBag properties;
    QList<ControlDescription> controls;
    QByteArray text; // the file as read
    JsonNode source; // the same, as read
};

class UserControl;

// What a form file held, kept beside the form loaded from it: saving writes back what it does
// not change as it was, where it was, and keeps what the host does not know (keys of its
// own, notes, pictures it cannot decode).
class FormSource {
public:
    FormSource() = default;
    // The file and the form loaded from it, whose controls stand in the file's order.
    FormSource(const FormDescription &description, const Form &form);

    const QByteArray &text() const { return m_text; }
    const JsonNode &root() const { return m_root; }
    // The file's entry for the control; null for a control it did not hold.
    const JsonNode *entryOf(const UserControl *control) const;

private:
    QByteArray m_text;
    JsonNode m_root = JsonNode::object();
    QHash<const UserControl *, std::pair<QPointer<const UserControl>, JsonNode>> m_controls;
};

namespace FormFile {
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
constexpr int MaxControls = 10000;

// Hundredths of a millimetre, as bags keep a control's size.
int toExtent(double twips);

FormDescription parse(const QByteArray &text, const QString &fileName);
// Reads a file or a resource (":/forms/..."). Anything but a regular file is refused without
// waiting for it: a pipe, a device.
FormDescription read(const QString &path);

// Sites a control on the form as its description says, the one way every control comes to a
// form: created, given the form's ambient values, added, placed, initialised, then given its
// bag (ReadProperties) or, with none, InitProperties; hidden when the form is in user mode and
// the control is invisible at run time. Returns null, and adds nothing, for a class the
// registry does not know; what the control refuses throws its HostError.
UserControl *site(Form &form, const ControlDescription &control, const ControlRegistry &registry);

// Gives the form its saved properties and creates its controls in order: each is created,
// placed, initialised, then given its bag (ReadProperties) or, with none, InitProperties.
// Controls that are invisible at run time are hidden when the form is in user mode. Returns
// what loaded but could not be used, for the user to hear of: pictures that cannot be decoded.
QStringList load(Form &form, const FormDescription &description, const ControlRegistry &registry,
                 const QString &fileName = {});
void load(Form &form, const QString &path, const ControlRegistry &registry);

// The form as a description file, written through each control's WriteProperties; with the
// source it was loaded from, over that source. A form saved unchanged gives the source's text.
QByteArray write(const Form &form, const ControlRegistry &registry,
                 const FormSource *source = nullptr);
// Writes atomically: the file is replaced only once every byte is written and flushed. On
// failure throws FormFileError with the reason, and the old file stays as it was.
void save(const Form &form, const QString &path, const ControlRegistry &registry,
          const FormSource *source = nullptr);
} // namespace FormFile
