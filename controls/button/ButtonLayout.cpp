#include "ButtonLayout.h"

ButtonLayout layOutButton(qint16 alignment, QSizeF extent, std::optional<QSizeF> picture,
                          QSizeF caption, double delta, double offset)
{
    const double W = extent.width();
    const double H = extent.height();
    const double tw = caption.width();
    const double th = caption.height();
    const double D = delta;
    const double s = offset;
    if (!picture)
        return {{}, {(W - tw) / 2 + s, (H - th) / 2 + s}};

    const double w = picture->width();
    const double h = picture->height();
    switch (alignment) {
    case ButtonAlignment::PictureLeft:
        // The caption is centred in the band right of the picture's width, margin not counted.
        return {{D + s, (H - h) / 2 + s}, {(W - w - tw) / 2 + w + s, (H - th) / 2 + s}};
    case ButtonAlignment::PictureRight:
        return {{W - D - w + s, (H - h) / 2 + s}, {D + s, (H - th) / 2 + s}};
    default:
        return {{(W - w) / 2 + 2 * s, D + s}, {(W - tw) / 2 + 2 * s, D + h + D + s}};
    }
}
