#include "InvisibleHelper.h"

#include <QPainter>
#include <QPixmap>

InvisibleHelper::InvisibleHelper(QWidget *container, const HelperLook &look)
    : UserControl(container)
    , m_look(look)
{
}

// Width first, then height; a size already right raises no further resize.
void InvisibleHelper::resizeEvent(QResizeEvent *event)
{
    UserControl::resizeEvent(event);
    setWidth(m_look.width);
    setHeight(m_look.height);
}

void InvisibleHelper::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, QPixmap(QString::fromLatin1(m_look.picture)));
}
