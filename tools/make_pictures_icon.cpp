// The program's icon: a teal tile with the panoramic sweep over a row of
// teeth, drawn in a 64 x 64 frame at whatever size the image has.
#include <QPainter>

#include "tools/make_pictures.h"

namespace pics {

void vDrawProgramIcon(QImage& img) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pxW(img) / 64.0, pxH(img) / 64.0);
    p.setPen(QPen(kDeep, 2));
    p.setBrush(kDark);
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 12, 12);
    // The beam's sweep round the arch, the tube at its middle.
    p.setPen(QPen(kLight, 4.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(10, 13, 44, 46), 25 * 16, 130 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 214, 120));
    p.drawEllipse(QPointF(32, 13), 4.5, 4.5);
    p.setBrush(kInk);
    for (int i = 0; i < 5; ++i) p.drawRoundedRect(QRectF(15.6 + i * 6.8, 34, 5.2, 12), 2, 2);
    p.setBrush(kMid);
    p.drawRoundedRect(QRectF(14, 49, 36, 4), 2, 2);
}

}  // namespace pics
