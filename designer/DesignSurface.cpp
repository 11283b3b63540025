#include "DesignSurface.h"

#include "Form.h"
#include "MousePointer.h"
#include "Screen.h"
#include "UserControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

DesignSurface::DesignSurface(Form *form, QWidget *parent)
    : QWidget(parent)
    , m_form(form)
    , m_formObject(form)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    form->installEventFilter(this);
    followForm();
}

void DesignSurface::select(const QList<UserControl *> &controls)
{
    if (controls == m_selection)
        return;
    m_selection = controls;
    update();
    emit selectionChanged();
}

void DesignSurface::selectKeys(const QStringList &keys)
{
    QList<UserControl *> controls;
    for (const QString &key : keys) {
        for (UserControl *c : m_form->controls()) {
            if (c->objectName().compare(key, Qt::CaseInsensitive) == 0)
                controls.append(c);
        }
    }
    select(controls);
}

QStringList DesignSurface::selectedKeys() const
{
    QStringList keys;
    for (const UserControl *c : m_selection)
        keys.append(c->objectName());
    return keys;
}

void DesignSurface::armPlacement(const QString &className)
{
    m_placing = className;
    setCursor(Qt::CrossCursor);
}

bool DesignSurface::eventFilter(QObject *watched, QEvent *event)
{
    // A form being destroyed is no longer a Form, and is not followed.
    if (watched == m_formObject && qobject_cast<Form *>(watched) &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        followForm();
    return QWidget::eventFilter(watched, event);
}

void DesignSurface::followForm()
{
    setGeometry(m_form->geometry());
    raise();
}

// Tab selects, rather than moving the focus on.
bool DesignSurface::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            selectNext(key == Qt::Key_Tab ? 1 : -1);
            return true;
        }
    }
    return QWidget::event(event);
}

void DesignSurface::selectNext(int step)
{
    const QList<UserControl *> &controls = m_form->controls();
    const qsizetype count = controls.size();
    if (count == 0)
        return;
    const qsizetype current = m_selection.isEmpty() ? -1 : controls.indexOf(m_selection.first());
    const qsizetype next =
        current < 0 ? (step > 0 ? 0 : count - 1) : (current + step + count) % count;
    select({controls.at(next)});
}

UserControl *DesignSurface::controlAt(QPoint pos) const
{
    QWidget *w = m_form->childAt(pos);
    while (w && w->parentWidget() != m_form)
        w = w->parentWidget();
    auto *control = qobject_cast<UserControl *>(w);
    return control && m_form->controls().contains(control) ? control : nullptr;
}

QList<QRect> DesignSurface::handleRects(const QRect &frame, QList<Qt::Edges> *edges) const
{
    const int l = frame.left(), r = frame.right() + 1, t = frame.top(), b = frame.bottom() + 1;
    const int cx = (l + r) / 2, cy = (t + b) / 2;
    const struct {
        QPoint at;
        Qt::Edges edges;
    } handles[] = {{{l, t}, Qt::LeftEdge | Qt::TopEdge},     {{cx, t}, Qt::TopEdge},
                   {{r, t}, Qt::RightEdge | Qt::TopEdge},    {{r, cy}, Qt::RightEdge},
                   {{r, b}, Qt::RightEdge | Qt::BottomEdge}, {{cx, b}, Qt::BottomEdge},
                   {{l, b}, Qt::LeftEdge | Qt::BottomEdge},  {{l, cy}, Qt::LeftEdge}};
    QList<QRect> rects;
    for (const auto &h : handles) {
        rects.append(
            QRect(h.at - QPoint(HandleSize / 2, HandleSize / 2), QSize(HandleSize, HandleSize)));
        if (edges)
            edges->append(h.edges);
    }
    return rects;
}

// Only a single selected control can be resized.
Qt::Edges DesignSurface::handleAt(QPoint pos) const
{
    if (m_selection.size() != 1)
        return {};
    QList<Qt::Edges> edges;
    const QList<QRect> rects = handleRects(m_selection.first()->geometry(), &edges);
    for (qsizetype i = 0; i < rects.size(); ++i) {
        if (rects.at(i).contains(pos))
            return edges.at(i);
    }
    return {};
}

void DesignSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Controls that are never seen at run time are outlined, so that one without a picture of
    // its own (a timer) can still be found.
    painter.setPen(QPen(palette().color(QPalette::Dark), 1, Qt::DotLine));
    for (const UserControl *c : m_form->controls()) {
        if (c->InvisibleAtRunTime())
            painter.drawRect(c->geometry().adjusted(0, 0, -1, -1));
    }
    const QColor ink = palette().color(QPalette::Highlight);
    for (const UserControl *c : std::as_const(m_selection)) {
        painter.setPen(QPen(ink, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(c->geometry().adjusted(0, 0, -1, -1));
        painter.setPen(ink);
        painter.setBrush(c == m_selection.first() ? ink : palette().color(QPalette::Base));
        for (const QRect &handle : handleRects(c->geometry()))
            painter.drawRect(handle.adjusted(0, 0, -1, -1));
    }
}

void DesignSurface::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (!m_placing.isEmpty()) {
        // A click on the form's own frame places the control at the client area's edge.
        const QPoint client(std::max(0, at.x() - m_form->clientRect().left()),
                            std::max(0, at.y() - m_form->clientRect().top()));
        unsetCursor();
        emit placeRequested(
            std::exchange(m_placing, QString()),
            QPointF(Screen::fromPixelsX(client.x()), Screen::fromPixelsY(client.y())));
        return;
    }
    m_resizing = handleAt(at);
    m_dragging = bool(m_resizing);
    if (!m_resizing) {
        UserControl *hit = controlAt(at);
        if (event->modifiers() & Qt::ControlModifier) {
            QList<UserControl *> selection = m_selection;
            if (hit && !selection.removeOne(hit))
                selection.append(hit);
            select(selection);
        } else {
            if (!m_selection.contains(hit))
                select(hit ? QList<UserControl *>{hit} : QList<UserControl *>{});
            m_dragging = hit != nullptr;
        }
    }
    m_pressedAt = at;
    m_dragged = false;
    rememberStart();
}

void DesignSurface::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        if (m_placing.isEmpty())
            setCursor(MousePointer::resizeShapeFor(handleAt(at)));
        return;
    }
    const QPoint delta = at - m_pressedAt;
    if (delta.isNull() && !m_dragged)
        return;
    m_dragged = true;
    dragTo(delta);
}

void DesignSurface::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    if (std::exchange(m_dragged, false))
        emit geometryEdited();
}

void DesignSurface::mouseDoubleClickEvent(QMouseEvent *event)
{
    UserControl *hit = controlAt(event->position().toPoint());
    if (!hit)
        return;
    if (!m_selection.contains(hit))
        select({hit});
    emit pagesRequested();
}

void DesignSurface::keyPressEvent(QKeyEvent *event)
{
    QPoint step;
    switch (event->key()) {
    case Qt::Key_Left:
        step = {-1, 0};
        break;
    case Qt::Key_Right:
        step = {1, 0};
        break;
    case Qt::Key_Up:
        step = {0, -1};
        break;
    case Qt::Key_Down:
        step = {0, 1};
        break;
    case Qt::Key_Escape:
        if (!m_placing.isEmpty()) {
            m_placing.clear();
            unsetCursor();
            return;
        }
        QWidget::keyPressEvent(event);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_selection.isEmpty())
        return;
    m_resizing =
        event->modifiers() & Qt::ShiftModifier ? Qt::RightEdge | Qt::BottomEdge : Qt::Edges();
    rememberStart();
    dragTo(step);
    m_resizing = {};
    emit geometryEdited();
}

void DesignSurface::rememberStart()
{
    m_start.clear();
    for (UserControl *c : std::as_const(m_selection))
        m_start.append({c, QRectF(c->Left(), c->Top(), c->Width(), c->Height())});
}

// A control is never made smaller than a pixel.
void DesignSurface::dragTo(QPoint delta)
{
    const double dx = Screen::fromPixelsX(delta.x());
    const double dy = Screen::fromPixelsY(delta.y());
    const double minWidth = Screen::fromPixelsX(1);
    const double minHeight = Screen::fromPixelsY(1);
    for (const Start &start : std::as_const(m_start)) {
        QRectF r = start.twips;
        if (!m_resizing) {
            r.translate(dx, dy);
        } else {
            if (m_resizing & Qt::LeftEdge)
                r.setLeft(std::min(r.left() + dx, r.right() - minWidth));
            if (m_resizing & Qt::RightEdge)
                r.setRight(std::max(r.right() + dx, r.left() + minWidth));
            if (m_resizing & Qt::TopEdge)
                r.setTop(std::min(r.top() + dy, r.bottom() - minHeight));
            if (m_resizing & Qt::BottomEdge)
                r.setBottom(std::max(r.bottom() + dy, r.top() + minHeight));
        }
        start.control->Move(r.left(), r.top(), r.width(), r.height());
    }
    update();
}
