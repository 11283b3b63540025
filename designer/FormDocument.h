#pragma once

#include "FormFile.h"

#include <QByteArray>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <memory>

class ControlRegistry;
class Form;
class UserControl;

// The form being designed. It lives in design mode (Ambient.UserMode False): the controls'
// setters only store, setters refused at run time are allowed, and the invisible helpers show
// their pictures at their fixed sizes. It is saved through each control's WriteProperties,
// defaults left out, and atomically, over the file it was opened from: what the form does not
// change is written back as the file held it. A change marks it modified until it is saved or
// replaced.
class FormDocument : public QObject {
    Q_OBJECT
public:
    explicit FormDocument(const ControlRegistry &registry);
    ~FormDocument() override;

    Form *form() const { return m_form.get(); }
    // The file the form was opened from or last saved to; empty for a new form.
    QString path() const { return m_path; }
    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // An empty form, "Form1".
    void newForm();
    // Replaces the form with the one in the file. A file that cannot be read or loaded throws
    // FormFileError, naming the file and the place, and the current form stays.
    void open(const QString &path);
    // What the last open loaded but could not use (pictures that cannot be decoded), one
    // line each; the file's entries for them are saved as they were.
    QStringList openProblems() const { return m_openProblems; }
    // Writes the form to the file, which becomes the form's file. The file is replaced only
    // once the whole form is written: when that fails, FormFileError is thrown with the
    // reason, the file stays as it was and the form stays modified.
    void save(const QString &path);

    // The form as its file would hold it now.
    QByteArray snapshot() const;
    // Puts the form the text describes in the place of this one, as an edit does: the file
    // and the modified mark stay. Text that is not a form file throws FormFileError, and the
    // form stays.
    void restore(const QByteArray &text);

    // The classes a new control can be of, in the palette's order.
    QStringList paletteClasses() const;
    // A new control of the class, its top-left corner at the point (twips in the client area),
    // named after its class ("ZoBorder1") and next in tab order: created, placed, initialised
    // and given InitProperties, as a new instance is. Null for a class the registry does not
    // know.
    UserControl *addControl(const QString &className, QPointF topLeft);

signals:
    void modifiedChanged(bool modified);
    // A new form took the place of the old one, which is destroyed right after.
    void formReplaced(Form *form);

private:
    void replaceForm(std::unique_ptr<Form> form, const QString &path);
    QString freeName(const QString &className) const;

    const ControlRegistry &m_registry;
    std::unique_ptr<Form> m_form;
    FormSource m_source;
    QStringList m_openProblems;
    QString m_path;
    bool m_modified = false;
};
