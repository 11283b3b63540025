#pragma once

#include "Form.h"

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QRectF>
#include <QStringList>
#include <QWidget>

class UserControl;

// The designer's layer over the form: it takes the mouse and the keyboard in place of the
// form's controls, and shows and changes the selection.
// - A click selects the control under the pointer; with Ctrl it adds it to the selection or
//   takes it out. A click beside every control selects none (the form itself).
// - Dragging a selected control moves every selected one; dragging one of the handles of a
//   single selected control resizes it. A double click asks for the property pages.
// - Once armed with a control class, the pointer is a cross and the next left click asks for a
//   new control of the class with its top-left corner at the click; Escape disarms.
// - The arrow keys move the selection by a pixel, with Shift they resize it; Tab and
//   Shift+Tab select the next and the previous control in creation order.
// Geometry is kept in twips. Each control keeps its own design-time rules: one that insists
// on its size (the invisible helpers, the border's height) takes it back.
class DesignSurface : public QWidget {
    Q_OBJECT
public:
    // Lies over the form, which must stand in the same parent, and follows its size.
    DesignSurface(Form *form, QWidget *parent);

    Form *form() const { return m_form; }
    // The selected controls; the first one is the one property lists and pages show.
    const QList<UserControl *> &selection() const { return m_selection; }
    void select(const QList<UserControl *> &controls);
    // Selects the controls with the keys ("cmdAction(0)"), in the keys' order.
    void selectKeys(const QStringList &keys);
    QStringList selectedKeys() const;
    void armPlacement(const QString &className);
    QString armedClass() const { return m_placing; }

    // Handles are squares of this many pixels on the corners and edges of the selection.
    static constexpr int HandleSize = 7;

signals:
    void selectionChanged();
    // Controls were moved or resized.
    void geometryEdited();
    void pagesRequested();
    // A click on the armed surface, twips from the top-left corner of the client area.
    void placeRequested(const QString &className, QPointF topLeft);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Start {
        UserControl *control;
        QRectF twips;
    };

    UserControl *controlAt(QPoint pos) const;
    // The edges a handle at the point grabs; none off the handles.
    Qt::Edges handleAt(QPoint pos) const;
    QList<QRect> handleRects(const QRect &frame, QList<Qt::Edges> *edges = nullptr) const;
    // Where each selected control stands as a drag or a key press begins.
    void rememberStart();
    // Moves, or with m_resizing resizes, every selected control by pixels from its start.
    void dragTo(QPoint delta);
    void selectNext(int step);
    void followForm();

    QPointer<Form> m_form;
    // The form as the object whose events arrive: compared while the form is being destroyed,
    // when it is no longer a Form.
    const QObject *m_formObject;
    QList<UserControl *> m_selection;
    QPoint m_pressedAt;
    Qt::Edges m_resizing;
    bool m_dragging = false;
    bool m_dragged = false;
    QList<Start> m_start;
    QString m_placing;
};
