#include "UserControl.h"

#include "PropertyTable.h"

#include "Form.h"
#include "Screen.h"

#include <QMoveEvent>
#include <QResizeEvent>

UserControl::UserControl(QWidget *container)
    : QWidget(container)
{
}

void UserControl::setAmbient(bool userMode, const FontObject &font)
{
    m_ambient.m_userMode = userMode;
    m_ambient.m_font = font;
}

Form *UserControl::ParentForm() const
{
    return qobject_cast<Form *>(parentWidget());
}

void UserControl::setExtender(const Extender &extender)
{
    m_extender = extender;
    setObjectName(extender.Index >= 0
                      ? QStringLiteral("%1(%2)").arg(extender.Name).arg(extender.Index)
                      : extender.Name);
    placeWidget();
}

void UserControl::setWidth(double twips)
{
    m_extender.Width = twips;
    placeWidget();
}

void UserControl::setHeight(double twips)
{
    m_extender.Height = twips;
    placeWidget();
}

void UserControl::Move(double left, double top, double width, double height)
{
    m_extender.Left = left;
    m_extender.Top = top;
    m_extender.Width = width;
    m_extender.Height = height;
    placeWidget();
}

void UserControl::PropertyChanged(const QString &name)
{
    emit propertyChanged(name);
}

QPoint UserControl::containerOrigin() const
{
    const Form *form = ParentForm();
    return form ? form->clientRect().topLeft() : QPoint();
}

// Each edge is rounded to a pixel on its own, not the size: two controls that meet in twips meet
// in pixels, and one that ends at the client area's edge ends there, whatever the halves.
QSize UserControl::pixelSize() const
{
    const int left = Screen::toPixelsX(m_extender.Left);
    const int top = Screen::toPixelsY(m_extender.Top);
    return QSize(std::max(0, Screen::toPixelsX(m_extender.Left + m_extender.Width) - left),
                 std::max(0, Screen::toPixelsY(m_extender.Top + m_extender.Height) - top));
}

void UserControl::placeWidget()
{
    const QRect target(containerOrigin() + QPoint(Screen::toPixelsX(m_extender.Left),
                                                  Screen::toPixelsY(m_extender.Top)),
                       pixelSize());
    if (target != geometry())
        setGeometry(target);
}

// A size or position given in pixels from outside (a layout, a designer) becomes the new
// twips; one that matches the twips already held keeps them exact.
void UserControl::resizeEvent(QResizeEvent *event)
{
    const QSize held = pixelSize();
    if (event->size().width() != held.width())
        m_extender.Width = Screen::fromPixelsX(event->size().width());
    if (event->size().height() != held.height())
        m_extender.Height = Screen::fromPixelsY(event->size().height());
    QWidget::resizeEvent(event);
}

void UserControl::moveEvent(QMoveEvent *event)
{
    const QPoint pos = event->pos() - containerOrigin();
    if (pos.x() != Screen::toPixelsX(m_extender.Left))
        m_extender.Left = Screen::fromPixelsX(pos.x());
    if (pos.y() != Screen::toPixelsY(m_extender.Top))
        m_extender.Top = Screen::fromPixelsY(pos.y());
    QWidget::moveEvent(event);
}

QList<ListedProperty> UserControl::listProperties()
{
    return {};
}
