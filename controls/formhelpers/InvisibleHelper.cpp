#include "InvisibleHelper.h"

#include <QPainter>
#include <QPixmap>
#include <utility>

InvisibleHelper::InvisibleHelper(QWidget *container, QString image, double width, double height)
    : UserControl(container)
    , m_image(std::move(image))
    , m_fixedWidth(width)
    , m_fixedHeight(height)
{
}

// Width first, then height; a size already right raises no further resize.
void InvisibleHelper::resizeEvent(QResizeEvent *event)
{
    UserControl::resizeEvent(event);
    setWidth(m_fixedWidth);
    setHeight(m_fixedHeight);
}

void InvisibleHelper::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, QPixmap(m_image));
}
