// Drawing of the console's pictures (flat look, teal palette).
#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <cstdint>

namespace pics {

// The console's palette.
inline const QColor kLight(178, 227, 221);
inline const QColor kPale(222, 244, 240);
inline const QColor kMid(75, 176, 161);
inline const QColor kDark(15, 106, 97);
inline const QColor kDeep(6, 62, 56);
inline const QColor kInk(250, 255, 254);
inline const QColor kGrey(170, 180, 178);

QFont fontPx(int px, bool bold = true);

// The picture's size in the pixels it is drawn in: an image for a screen of
// device pixel ratio 2 has twice as many of its own.
inline qreal pxW(const QImage& img) { return img.deviceIndependentSize().width(); }
inline qreal pxH(const QImage& img) { return img.deviceIndependentSize().height(); }

// Each draws its picture into img (already sized, transparent).
void vDrawArrow(QImage& img, bool booUp);
void vDrawReady(QImage& img, bool booPressed);
void vDrawTextButton(QImage& img, bool booClose);
void vDrawDigit(QImage& img, int digit);
void vDrawSizeButton(QImage& img, int size, int look);  // look 0 released, 1 pressed, 2 unavailable
void vDrawLogo(QImage& img);
void vDrawPanoramaMode(QImage& img, bool booChild, bool booSelected);
void vDrawTmjMode(QImage& img, bool booSelected);
void vDrawProgramIcon(QImage& img);

// Draws picture lNo; false when the number is unknown.
bool booDrawPicture(int32_t lNo, QImage& img);

}  // namespace pics
