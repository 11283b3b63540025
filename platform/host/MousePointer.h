#pragma once

#include "PictureObject.h"

#include <QCursor>
#include <optional>

// Pointer shapes by number: 0 the default, 1 to 15 the platform's shapes, 99 a custom
// pointer taken from a picture.
namespace MousePointer {
inline constexpr qint16 Default = 0;
inline constexpr qint16 SizeAll = 15;
inline constexpr qint16 Custom = 99;

bool isValid(int shape);
// Throws HostError(InvalidPropertyValue) for a shape that is not valid.
void requireValid(int shape);
// The cursor for a shape; a custom shape with no picture falls back to the default arrow.
// Throws HostError(InvalidPropertyValue) for a shape that is not valid.
QCursor cursorFor(int shape, const PictureRef &icon);
// The resize pointer for a drag at those edges of a frame or a selection; the arrow for none.
Qt::CursorShape resizeShapeFor(Qt::Edges edges);
} // namespace MousePointer
