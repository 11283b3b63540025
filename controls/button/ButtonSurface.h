#pragma once

#include "Colour.h"
#include "FontObject.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPointF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QTransform>

// A hidden drawing surface in twips, on which a ZoButton composes each look before showing it.
//
// The surface has a size in pixels and a scale extent in twips (scale width and height) that
// spans exactly that pixel area; every position is mapped through it unrounded. An extent
// that is not positive falls back to the screen's own twips per pixel. Lines are one pixel
// wide whatever the scale. Pictures and text keep their natural pixel size and only have
// their top-left corner mapped. Text is printed at the current position, which each print
// advances past the printed text, like a pen. Anything outside the pixel area is clipped.
//
// Drawing goes to the image as it is made; commit() finishes it and hands out the image.
// Fore colour and font stay on the surface from one drawing to the next.
class ButtonSurface {
public:
    // The largest side, in pixels: a larger surface keeps only its top-left part.
    static constexpr int MaxSide = 4096;

    ButtonSurface() = default;
    ButtonSurface(const ButtonSurface &) = delete;
    ButtonSurface &operator=(const ButtonSurface &) = delete;

    QSize size() const { return m_size; }
    // A new size clears the drawing; the same size keeps it. Negative sides count as 0.
    void setSize(QSize pixels);

    double scaleWidth() const { return m_scaleWidth; }
    double scaleHeight() const { return m_scaleHeight; }
    void setScaleSize(double width, double height);

    Colour backColor() const { return m_backColor; }
    void setBackColor(Colour colour) { m_backColor = colour; }
    Colour foreColor() const { return m_foreColor; }
    void setForeColor(Colour colour) { m_foreColor = colour; }
    const QFont &font() const { return m_font; }
    void setFont(const FontObject &font) { m_font = font.toQFont(); }
    void setFontUnderline(bool on) { m_font.setUnderline(on); }

    // Fills the surface with the back colour and puts the text position at (0, 0).
    void clear();
    void drawLine(QPointF from, QPointF to, Colour colour);
    void drawPicture(const QPixmap &picture, QPointF topLeft);

    // The width of a text and the height of a line in the current font, twips; an empty text
    // takes no room.
    QSizeF textSize(const QString &text) const;

    QPointF currentPos() const { return m_currentPos; }
    void setCurrentPos(QPointF twips) { m_currentPos = twips; }
    // Prints on one line at the current position, in the fore colour and current font.
    void print(const QString &text);

    // Finishes pending drawing; the image is what a viewer of the surface sees.
    const QImage &commit();

private:
    // Null while the surface has no pixels.
    QPainter *painter();
    void finishPainting();
    void updateScale();

    QSize m_size;
    QImage m_image;
    QPainter m_painter;
    QTransform m_toPixels;
    double m_scaleWidth = 0;
    double m_scaleHeight = 0;
    Colour m_backColor;
    Colour m_foreColor;
    QFont m_font;
    QPointF m_currentPos;
};
