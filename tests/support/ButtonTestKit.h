#pragma once

// What the ZoButton tests share: fixed colours and font, one-colour pictures, a button laid
// out in whole pixels at 15 twips per pixel, as the offscreen screen has it, pixel scans, and
// a button as the designer places one.

#include "button/ButtonFace.h"
#include "button/ZoButton.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <memory>

namespace Kit {
inline constexpr int Twips = 15; // per pixel
inline constexpr Colour Back = Colour::rgb(200, 200, 160);
// Each look has a caption colour and font of its own, so a look drawn with another's shows.
inline constexpr Colour Fore = Colour::rgb(0, 0, 90);
inline constexpr Colour ForeSelected = Colour::rgb(0, 110, 0);
inline constexpr Colour ForePressed = Colour::rgb(120, 0, 0);
inline constexpr Colour Light = Colour::rgb(250, 250, 250);
inline constexpr Colour Dark = Colour::rgb(60, 60, 60);

inline QRgb rgb(Colour c)
{
    return c.toQColor().rgb();
}

inline FontObject testFont()
{
    FontObject f;
    f.Name = QStringLiteral("DejaVu Sans");
    f.Size = 10;
    return f;
}

inline FontObject testFont(float size, bool bold, bool italic)
{
    FontObject f = testFont();
    f.Size = size;
    f.Bold = bold;
    f.Italic = italic;
    return f;
}

inline PictureRef picture(int width, int height, Qt::GlobalColor colour)
{
    QPixmap p(width, height);
    p.fill(colour);
    return std::make_shared<PictureObject>(p);
}

// A new design-time button of the given size in pixels, in the fixed colours, no caption.
inline std::unique_ptr<ZoButton> button(QSize pixels = QSize(22, 22))
{
    auto b = std::make_unique<ZoButton>();
    b->setAmbient(false, testFont());
    b->Move(0, 0, pixels.width() * Twips, pixels.height() * Twips);
    b->Initialize();
    b->InitProperties();
    b->setBackColor(Back);
    b->setForeColor(Fore);
    b->setForeColorSelected(ForeSelected);
    b->setForeColorPressed(ForePressed);
    b->setFontSelected(makeFont(testFont(11, true, false)));
    b->setFontPressed(makeFont(testFont(12, false, true)));
    b->setLightBorderColor(Light);
    b->setDarkBorderColor(Dark);
    b->setCaption(QString());
    return b;
}

// The smallest rectangle holding every pixel of the area that matches.
template <class Match> QRect boundsOf(const QImage &image, QRect area, Match match)
{
    QRect bounds;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Pixels drawn in the area: anything but the back colour.
inline QRect inkIn(const QImage &image, QRect area)
{
    return boundsOf(image, area, [](QRgb p) { return p != rgb(Back); });
}

inline ButtonFace *face(const ZoButton &b)
{
    return b.findChild<ButtonFace *>();
}

// The look the face holds, told by its top-left pixel: the border's colour, or none.
inline QString look(const ZoButton &b)
{
    const QRgb corner = face(b)->image().pixel(0, 0);
    return corner == rgb(Light) ? "selected" : corner == rgb(Dark) ? "pressed" : "unselected";
}

// Mouse events as the face gets them; a move carries the buttons still held.
inline void mouse(ZoButton &b, QEvent::Type type, QPoint at, Qt::MouseButton button = {},
                  Qt::MouseButtons held = {})
{
    QWidget *w = face(b);
    QMouseEvent e(type, at, w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace Kit

// A new button as the designer places one: design mode, then InitProperties.
inline std::unique_ptr<ZoButton> designButton()
{
    auto b = std::make_unique<ZoButton>();
    b->setAmbient(false, FontObject{});
    b->Move(0, 0, 1215, 375);
    b->Initialize();
    b->InitProperties();
    return b;
}
