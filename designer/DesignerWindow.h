#pragma once

#include "DesignSurface.h"
#include "FormDocument.h"
#include "FormEdit.h"

#include <QMainWindow>
#include <QPointer>
#include <QUndoStack>
#include <functional>

class ControlRegistry;
class PropertyList;

// Kelvo's form designer: the form in design mode in the middle, under its design surface; the
// palette of control classes on the left, where activating a class arms the surface to place a
// new control where the user next clicks; the property list of the selected control (or of the
// form) on the right. Open, Save and Save As read and write form files; a form file that cannot
// be read is reported with the file and the place, and the form shown stays. Save As gives a
// name without a suffix ".json". The title shows the file and whether it has unsaved changes;
// a new form, another file or closing asks first before unsaved changes are lost. Property
// Pages opens the selected control's pages: the standard Font, Picture and Colour pages for the
// kinds of property it has, and the pages its class names (a ZoButton's "Button" page).
//
// Every edit (a move, a size, a property in the list or the pages, a new, pasted, duplicated or
// deleted control, a new name) is one step of the Edit menu's Undo and Redo, which put back the
// whole form and its selection. The form is modified while it differs from the step it was
// last opened or saved at. Cut, Copy and Paste move controls through the clipboard as form
// file text; a pasted or duplicated control is renamed where its name is taken.
class DesignerWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit DesignerWindow(const ControlRegistry &registry, QWidget *parent = nullptr);

    DesignSurface *surface() const { return m_surface; }
    PropertyList *propertyList() const { return m_properties; }

    // Opens the form file; on failure reports it and keeps the form shown. False on failure.
    bool open(const QString &path);
    // Saves to the form's file, or asks for one. False when nothing was saved.
    bool save();
    bool saveAs();
    void showPropertyPages();

    QUndoStack *undoStack() { return &m_undo; }
    void deleteSelection();
    void cut();
    void copy();
    void paste();
    void duplicate();
    // Places a new control of the class with its top-left corner at the point, twips in the
    // client area, and selects it.
    void addControl(const QString &className, QPointF topLeft);

    // The name a form is saved under: the one given, with ".json" added when it has no suffix.
    static QString withFormSuffix(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showForm(Form *form);
    void selectionChanged();
    // Shows an edit made to the form and keeps it as a step of the undo stack, with the
    // selection from before it.
    void edited(const QString &description, const QStringList &selectionBefore);
    void edited(const QString &description);
    // Puts the form back as the state holds it.
    void showState(const FormState &state);
    // Forgets the steps: the form as it is now was opened or made.
    void startHistory();
    // Replaces the form with the text that `edit` makes of it, as an edit named by the
    // description; `edit` gives the keys of the controls to select after it.
    void replaceByEdit(const QString &description,
                       const std::function<QByteArray(QStringList *)> &edit);
    void updateTitle();
    // Asks before unsaved changes are lost: saves them, lets them go, or keeps them (false).
    bool mayLoseChanges();
    bool saveTo(const QString &path);
    QObject *current() const;

    const ControlRegistry &m_registry;
    FormDocument m_document;
    QWidget *m_canvas;
    QPointer<DesignSurface> m_surface;
    PropertyList *m_properties;
    QUndoStack m_undo;
    // The form's text as the last step left it.
    QByteArray m_state;
    // The selected controls' keys as they were before the edit under way.
    QStringList m_selectionKeys;
};
