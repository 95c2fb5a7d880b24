// The exposure mode panels: the panoramic arch for adult and child, and a
// skull in profile for the TMJ mode. The selected panel is the dark variant.
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "tools/make_pictures.h"

namespace pics {
namespace {

struct tPanelInk {
    QColor face, edge, ink, accent;
};

tPanelInk panelInk(bool booSelected) {
    if (booSelected) return {kDark, kDeep, kInk, kLight};
    return {kPale, kMid, kDark, kMid};
}

void vPanel(QPainter& p, const QImage& img, const tPanelInk& c) {
    p.setPen(QPen(c.edge, 2));
    p.setBrush(c.face);
    p.drawRoundedRect(QRectF(1, 1, pxW(img) - 2, pxH(img) - 2), 9, 9);
}

}  // namespace

void vDrawPanoramaMode(QImage& img, bool booChild, bool booSelected) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const tPanelInk c = panelInk(booSelected);
    vPanel(p, img, c);
    // The dental arch seen from above, front teeth at the top; the child's
    // arch is smaller and has fewer teeth.
    const int n = booChild ? 10 : 14;
    const qreal rx = booChild ? 26 : 35, ry = booChild ? 24 : 32;
    const qreal tw = 7, th = booChild ? 9 : 10;
    const QPointF centre(pxW(img) / 2.0, booChild ? 66 : 70);
    p.setPen(QPen(c.edge, 1));
    p.setBrush(c.ink);
    for (int i = 0; i < n; ++i) {
        const qreal a = qDegreesToRadians(180.0 * (i + 0.5) / n);
        const QPointF at(centre.x() - rx * qCos(a), centre.y() - ry * qSin(a));
        p.save();
        p.translate(at);
        p.rotate(90.0 - qRadiansToDegrees(a));
        p.drawRoundedRect(QRectF(-tw / 2, -th / 2, tw, th), 2.5, 2.5);
        p.restore();
    }
    // The beam's sweep round the arch.
    p.setPen(QPen(c.accent, 2, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - rx - 9, centre.y() - ry - 9, 2 * (rx + 9), 2 * (ry + 9)), 10 * 16, 160 * 16);
    p.setFont(fontPx(17));
    p.setPen(c.ink);
    p.drawText(QRectF(0, pxH(img) - 30, pxW(img), 24), Qt::AlignCenter,
               booChild ? QStringLiteral("Child") : QStringLiteral("Adult"));
}

void vDrawTmjMode(QImage& img, bool booSelected) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const tPanelInk c = panelInk(booSelected);
    vPanel(p, img, c);
    // The skull facing left, in a 100 x 100 frame.
    p.translate(4, 6);
    p.scale(pxW(img) / 108.0, pxH(img) / 108.0);
    QPainterPath skull;
    skull.moveTo(22, 48);
    skull.cubicTo(14, 18, 56, 4, 82, 18);
    skull.cubicTo(98, 28, 100, 52, 88, 64);
    skull.lineTo(76, 70);
    skull.lineTo(70, 74);
    skull.cubicTo(72, 84, 70, 92, 62, 92);
    skull.lineTo(34, 92);
    skull.cubicTo(26, 92, 24, 86, 26, 80);
    skull.lineTo(24, 74);
    skull.lineTo(20, 70);
    skull.lineTo(22, 66);
    skull.lineTo(14, 60);
    skull.cubicTo(16, 56, 20, 54, 22, 48);
    skull.closeSubpath();
    p.setPen(QPen(c.ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(booSelected ? kMid : QColor(250, 255, 254));
    p.drawPath(skull);
    // Orbit, nasal opening, cheek bone and the line of the teeth.
    p.setBrush(c.face);
    p.drawEllipse(QPointF(36, 50), 7, 6);
    p.drawEllipse(QPointF(26, 62), 2.5, 3.5);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(42, 60), QPointF(64, 62));
    p.drawLine(QPointF(26, 78), QPointF(52, 78));
    // The jaw and its joint in front of the ear: what this mode looks at.
    p.drawLine(QPointF(70, 74), QPointF(68, 64));
    p.setPen(QPen(c.accent, 3));
    p.drawEllipse(QPointF(69, 62), 6, 6);
}

}  // namespace pics
