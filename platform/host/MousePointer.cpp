#include "MousePointer.h"

#include "HostError.h"

#include <array>

namespace MousePointer {
bool isValid(int shape)
{
    return (shape >= 0 && shape <= 15) || shape == Custom;
}

void requireValid(int shape)
{
    if (!isValid(shape))
        throw HostError(HostError::InvalidPropertyValue);
}

QCursor cursorFor(int shape, const PictureRef &icon)
{
    static constexpr std::array<Qt::CursorShape, 16> shapes{
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
    requireValid(shape);
    if (shape == Custom) {
        if (isEmptyPicture(icon))
            return QCursor(Qt::ArrowCursor);
        return QCursor(icon->pixmap(), icon->hotSpot().x(), icon->hotSpot().y());
    }
    return QCursor(shapes[size_t(shape)]);
}

Qt::CursorShape resizeShapeFor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical)
        return bool(edges & Qt::LeftEdge) == bool(edges & Qt::TopEdge) ? Qt::SizeFDiagCursor
                                                                       : Qt::SizeBDiagCursor;
    if (horizontal)
        return Qt::SizeHorCursor;
    return vertical ? Qt::SizeVerCursor : Qt::ArrowCursor;
}
} // namespace MousePointer
