#pragma once

#include <QPointF>
#include <QSizeF>
#include <QtGlobal>
#include <optional>

// Where a ZoButton look puts its picture and its caption. All values are twips on the
// surface's extent; positions are top-left corners and are not rounded.
struct ButtonLayout {
    QPointF picture; // meaningless without a picture
    QPointF caption;
};

// Picture positions by Alignment; any value other than these two puts the picture on top.
namespace ButtonAlignment {
inline constexpr qint16 PictureLeft = 0;
inline constexpr qint16 PictureRight = 1;
} // namespace ButtonAlignment

// Lays out a look of the given extent. delta is the margin between picture and edge (on top
// also the gap between picture and caption, on the right also the caption's left margin);
// offset moves picture and caption right and down, by twice as much to the right when the
// picture is on top. Without a picture the caption is centred.
ButtonLayout layOutButton(qint16 alignment, QSizeF extent, std::optional<QSizeF> picture,
                          QSizeF caption, double delta, double offset);
