#pragma once

class QWidget;

// Pointer input as the window system would deliver it: through the top-level window, to
// whatever widget lies under the point, with the window's grabs and modality applied.
namespace PointerDriver {
// To the centre of the widget, with no button held.
void moveOver(const QWidget *widget);
// The left button pressed and released at the centre of the widget.
void click(const QWidget *widget);
// A left-button drag across the client area of a window: press, a move with the button held,
// release.
void dragAcross(const QWidget *window);
} // namespace PointerDriver
