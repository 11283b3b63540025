#include "ButtonSurface.h"

#include "Screen.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPen>
#include <cmath>

void ButtonSurface::setSize(QSize pixels)
{
    const QSize size = pixels.expandedTo(QSize(0, 0));
    if (size == m_size)
        return;
    finishPainting();
    m_size = size;
    const QSize kept = size.boundedTo(QSize(MaxSide, MaxSide));
    m_image = kept.isEmpty() ? QImage() : QImage(kept, QImage::Format_RGB32);
    m_image.fill(m_backColor.toQColor());
    updateScale();
}

void ButtonSurface::setScaleSize(double width, double height)
{
    m_scaleWidth = width;
    m_scaleHeight = height;
    updateScale();
}

void ButtonSurface::updateScale()
{
    const auto factor = [](int pixels, double extent, double twipsPerPixel) {
        return std::isfinite(extent) && extent > 0 && pixels > 0 ? pixels / extent
                                                                 : 1.0 / twipsPerPixel;
    };
    m_toPixels =
        QTransform::fromScale(factor(m_size.width(), m_scaleWidth, Screen::TwipsPerPixelX()),
                              factor(m_size.height(), m_scaleHeight, Screen::TwipsPerPixelY()));
}

QPainter *ButtonSurface::painter()
{
    if (m_image.isNull())
        return nullptr;
    if (!m_painter.isActive())
        m_painter.begin(&m_image);
    return &m_painter;
}

void ButtonSurface::clear()
{
    if (QPainter *p = painter())
        p->fillRect(m_image.rect(), m_backColor.toQColor());
    m_currentPos = QPointF();
}

void ButtonSurface::drawLine(QPointF from, QPointF to, Colour colour)
{
    if (QPainter *p = painter()) {
        p->setPen(QPen(colour.toQColor(), 0)); // width 0: one pixel at any scale
        p->drawLine(m_toPixels.map(QLineF(from, to)));
    }
}

void ButtonSurface::drawPicture(const QPixmap &picture, QPointF topLeft)
{
    if (QPainter *p = painter())
        p->drawPixmap(m_toPixels.map(topLeft), picture);
}

// An empty text asks nothing of the font, so a button without a caption never loads one.
QSizeF ButtonSurface::textSize(const QString &text) const
{
    if (text.isEmpty())
        return {};
    const QFontMetricsF metrics(m_font);
    return QSizeF(metrics.horizontalAdvance(text) / m_toPixels.m11(),
                  metrics.height() / m_toPixels.m22());
}

void ButtonSurface::print(const QString &text)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF metrics(m_font);
    const QPointF at = m_toPixels.map(m_currentPos);
    // Text never reaches back to the left of where it starts, so text that starts past the
    // right edge only moves the position on; this keeps long captions cheap.
    if (at.x() < m_image.width()) {
        if (QPainter *p = painter()) {
            p->setFont(m_font);
            p->setPen(m_foreColor.toQColor());
            p->drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
        }
    }
    m_currentPos.rx() += metrics.horizontalAdvance(text) / m_toPixels.m11();
}

const QImage &ButtonSurface::commit()
{
    finishPainting();
    return m_image;
}

void ButtonSurface::finishPainting()
{
    if (m_painter.isActive())
        m_painter.end();
}
