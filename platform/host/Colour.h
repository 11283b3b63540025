#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>

// A 32-bit colour value: 0x00BBGGRR, or, with the high byte 0x80, the index of a system
// colour in the low byte. System colours follow the desktop's palette when painted.
struct Colour {
    quint32 value = 0;

    constexpr Colour() = default;
    constexpr explicit Colour(quint32 v)
        : value(v)
    {
    }
    static constexpr Colour system(int index) { return Colour(0x80000000u | quint32(index)); }
    static constexpr Colour rgb(int r, int g, int b)
    {
        return Colour(quint32(r & 0xFF) | quint32(g & 0xFF) << 8 | quint32(b & 0xFF) << 16);
    }

    constexpr bool isSystem() const { return (value & 0xFF000000u) == 0x80000000u; }
    constexpr int systemIndex() const { return int(value & 0xFFu); }

    // The colour to paint with; system colours are looked up in the palette.
    QColor toQColor(const QPalette &palette) const;
    QColor toQColor() const; // against the application's palette

    friend constexpr bool operator==(Colour, Colour) = default;
};

// How far apart two colours are for the eye, from 1 (the same) to 21 (black on white), as
// the contrast ratio of their relative luminances.
double contrastRatio(const QColor &a, const QColor &b);
// Text of the colour wanted, brought as little as needed towards black on a light background,
// or towards white on a dark one, to stand out from it at least 4.5 : 1. A colour that already
// does is kept as it is.
QColor readableOn(const QColor &wanted, const QColor &background);

// The system colours Kelvo uses, by their index.
namespace SystemColour {
inline constexpr int Window = 5;
inline constexpr int WindowText = 8;
inline constexpr int CaptionText = 9;
inline constexpr int Highlight = 13;
inline constexpr int HighlightText = 14;
inline constexpr int ButtonFace = 15;
inline constexpr int ButtonShadow = 16;
inline constexpr int ButtonText = 18;
inline constexpr int ButtonHighlight = 20;
inline constexpr int DarkShadow = 21;
inline constexpr int LightFace = 22;
} // namespace SystemColour
