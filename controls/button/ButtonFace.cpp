#include "ButtonFace.h"

#include "MousePointer.h"
#include "Screen.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <utility>

ButtonFace::ButtonFace(QWidget *control)
    : QWidget(control)
{
    setObjectName(QStringLiteral("picButton"));
    // The face paints every pixel itself, so its control never repaints underneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void ButtonFace::setBackColor(Colour colour)
{
    m_backColor = colour;
    update();
}

void ButtonFace::setMousePointer(qint16 shape)
{
    ::MousePointer::requireValid(shape);
    m_mousePointer = shape;
    if (m_pointerApplied)
        applyPointer();
}

void ButtonFace::setMouseIcon(const PictureRef &icon)
{
    m_mouseIcon = icon;
    if (m_pointerApplied)
        applyPointer();
}

// Made from a picture, a pointer is quantised to two colours: the longest thing a button does
// while its form loads, for a pointer seen only once the pointer comes over the button.
void ButtonFace::enterEvent(QEnterEvent *event)
{
    if (!std::exchange(m_pointerApplied, true))
        applyPointer();
    QWidget::enterEvent(event);
}

void ButtonFace::applyPointer()
{
    setCursor(::MousePointer::cursorFor(m_mousePointer, m_mouseIcon));
}

double ButtonFace::ScaleWidth() const
{
    return Screen::fromPixelsX(width());
}

double ButtonFace::ScaleHeight() const
{
    return Screen::fromPixelsY(height());
}

void ButtonFace::showImage(const QImage &image)
{
    m_image = image;
    update();
}

void ButtonFace::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
    const QRegion uncovered = QRegion(rect()).subtracted(QRect(QPoint(), m_image.size()));
    for (const QRect &r : uncovered)
        painter.fillRect(r, m_backColor.toQColor());
}

void ButtonFace::mousePressEvent(QMouseEvent *)
{
    emit mouseDown();
}

// Qt reports the second press of a double click as a double click instead of a press.
void ButtonFace::mouseDoubleClickEvent(QMouseEvent *)
{
    emit mouseDown();
}

void ButtonFace::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(float(event->position().x() * Screen::TwipsPerPixelX()),
                   float(event->position().y() * Screen::TwipsPerPixelY()));
}

void ButtonFace::mouseReleaseEvent(QMouseEvent *)
{
    emit mouseUp();
}

// Every key stops here, so none can act on the form as a button press would (a dialog's
// Enter or Escape).
void ButtonFace::keyPressEvent(QKeyEvent *event)
{
    if (!event->text().isEmpty()) {
        qint16 keyAscii = qint16(event->text().at(0).unicode());
        emit keyPress(keyAscii);
    }
    event->accept();
}

// The window losing activation, or a menu popping up, leaves the focus where it is.
void ButtonFace::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit lostFocus();
}
