#pragma once

#include "DesignSurface.h"
#include "FormDocument.h"

#include <QMainWindow>
#include <QPointer>

class ControlRegistry;
class PropertyList;

// Kelvo's form designer: the form in design mode in the middle, under its design surface; the
// palette of control classes on the left, where activating a class places a new control; the
// property list of the selected control (or of the form) on the right. Open, Save and Save As
// read and write form files; a form file that cannot be read is reported with the file and the
// place, and the form shown stays. The title shows the file and whether it has unsaved changes;
// a new form, another file or closing asks first before unsaved changes are lost. Property
// Pages opens the selected control's pages: for a ZoButton the Font, Picture and Colour pages
// and its own "Button" page, for other controls the standard pages of the kinds they have.
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

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showForm(Form *form);
    void selectionChanged();
    void addControl(const QString &className);
    void markEdited();
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
};
