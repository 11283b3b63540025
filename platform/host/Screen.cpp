#include "Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {
constexpr double TwipsPerInch = 1440.0;
constexpr double FallbackDpi = 96.0; // with no screen at all (never on a desktop)

const QScreen *primary()
{
    return QGuiApplication::primaryScreen();
}

// Stored geometry can be anything a settings file held; keep it to a range a window can have.
int roundToPixels(double pixels)
{
    if (!std::isfinite(pixels))
        return 0;
    return int(std::lround(std::clamp(pixels, -1.0e6, 1.0e6)));
}
} // namespace

namespace Screen {
double TwipsPerPixelX()
{
    const QScreen *s = primary();
    return TwipsPerInch / (s ? s->logicalDotsPerInchX() : FallbackDpi);
}

double TwipsPerPixelY()
{
    const QScreen *s = primary();
    return TwipsPerInch / (s ? s->logicalDotsPerInchY() : FallbackDpi);
}

double Width()
{
    const QScreen *s = primary();
    return s ? fromPixelsX(s->geometry().width()) : 0.0;
}

double Height()
{
    const QScreen *s = primary();
    return s ? fromPixelsY(s->geometry().height()) : 0.0;
}

int toPixelsX(double twips)
{
    return roundToPixels(twips / TwipsPerPixelX());
}

int toPixelsY(double twips)
{
    return roundToPixels(twips / TwipsPerPixelY());
}

double fromPixelsX(int pixels)
{
    return pixels * TwipsPerPixelX();
}

double fromPixelsY(int pixels)
{
    return pixels * TwipsPerPixelY();
}
} // namespace Screen
