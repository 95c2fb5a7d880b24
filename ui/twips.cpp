#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace ui {
namespace {

QScreen* primary() { return QGuiApplication::primaryScreen(); }

double dTwipsPerPixel(double dpi) {
    // Without a screen (or with a nonsensical dpi) take the standard 96 dpi.
    if (!(dpi > 0.0)) dpi = 96.0;
    return 1440.0 / dpi;
}

}  // namespace

double dTwipsPerPixelX() {
    QScreen* s = primary();
    return dTwipsPerPixel(s != nullptr ? s->logicalDotsPerInchX() : 0.0);
}

double dTwipsPerPixelY() {
    QScreen* s = primary();
    return dTwipsPerPixel(s != nullptr ? s->logicalDotsPerInchY() : 0.0);
}

int lPixelsFromTwips(int32_t lTwips, double dTwipsPerPixel) {
    return static_cast<int>(std::nearbyint(static_cast<double>(lTwips) / dTwipsPerPixel));
}

int32_t lTwipsFromPixels(int lPixels, double dTwipsPerPixel) {
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(lPixels) * dTwipsPerPixel));
}

int lPixelsX(int32_t lTwips) { return lPixelsFromTwips(lTwips, dTwipsPerPixelX()); }
int lPixelsY(int32_t lTwips) { return lPixelsFromTwips(lTwips, dTwipsPerPixelY()); }
int32_t lTwipsX(int lPixels) { return lTwipsFromPixels(lPixels, dTwipsPerPixelX()); }
int32_t lTwipsY(int lPixels) { return lTwipsFromPixels(lPixels, dTwipsPerPixelY()); }

int32_t lScreenWidth() {
    QScreen* s = primary();
    return lTwipsX(s != nullptr ? s->geometry().width() : 1024);
}

int32_t lScreenHeight() {
    QScreen* s = primary();
    return lTwipsY(s != nullptr ? s->geometry().height() : 768);
}

}  // namespace ui
