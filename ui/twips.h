// Window geometry in twips (1/1440 inch). The screen's twips per pixel come
// from its logical dpi: 1440 / dpi, 15 at the standard 96 dpi.
#pragma once
#include <cstdint>

namespace ui {

// Twips per pixel of the primary screen, horizontally and vertically.
double dTwipsPerPixelX();
double dTwipsPerPixelY();

// Conversions for a given twips-per-pixel, rounded to the nearest whole
// number (halves to even).
int lPixelsFromTwips(int32_t lTwips, double dTwipsPerPixel);
int32_t lTwipsFromPixels(int lPixels, double dTwipsPerPixel);

// The same with the primary screen's twips per pixel.
int lPixelsX(int32_t lTwips);
int lPixelsY(int32_t lTwips);
int32_t lTwipsX(int lPixels);
int32_t lTwipsY(int lPixels);

// The primary screen's size in twips.
int32_t lScreenWidth();
int32_t lScreenHeight();

}  // namespace ui
