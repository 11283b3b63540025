#pragma once

// The screen in twips (1/1440 inch). Twips per pixel follow the primary screen's logical DPI:
// 15 at 96 dpi.
namespace Screen {
double TwipsPerPixelX();
double TwipsPerPixelY();
double Width();  // the primary screen's width, twips
double Height(); // the primary screen's height, twips

int toPixelsX(double twips); // rounded to the nearest pixel
int toPixelsY(double twips);
double fromPixelsX(int pixels);
double fromPixelsY(int pixels);
} // namespace Screen
