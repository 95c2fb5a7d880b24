// Button faces, arrows, digits, patient sizes and the logo.
#include <QPainter>
#include <QPainterPath>

#include "tools/make_pictures.h"

namespace pics {
namespace {

void vBevel(QPainter& p, QRectF r, qreal radius, const QColor& face, bool booSunken, int width) {
    const QColor hi = face.lighter(135);
    const QColor lo = face.darker(165);
    p.setPen(Qt::NoPen);
    p.setBrush(booSunken ? hi : lo);
    p.drawRoundedRect(r, radius, radius);
    p.setBrush(booSunken ? lo : hi);
    p.drawRoundedRect(r.adjusted(0, 0, -width, -width), radius, radius);
    p.setBrush(face);
    p.drawRoundedRect(r.adjusted(width, width, -width, -width), radius - 1, radius - 1);
}

// A standing person, feet at baseY, scaled by s (1 = 38 px tall).
void vPerson(QPainter& p, qreal cx, qreal baseY, qreal s, const QColor& ink) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const qreal h = 38 * s;
    const qreal head = 9 * s;
    p.drawEllipse(QPointF(cx, baseY - h + head / 2), head / 2, head / 2);
    QPainterPath body;
    const qreal top = baseY - h + head + 1.5 * s;
    body.moveTo(cx - 8 * s, baseY);
    body.lineTo(cx - 9 * s, top + 6 * s);
    body.quadTo(cx - 9 * s, top, cx - 3 * s, top);
    body.lineTo(cx + 3 * s, top);
    body.quadTo(cx + 9 * s, top, cx + 9 * s, top + 6 * s);
    body.lineTo(cx + 8 * s, baseY);
    body.closeSubpath();
    p.drawPath(body);
}

}  // namespace

void vDrawArrow(QImage& img, bool booUp) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = pxW(img), h = pxH(img);
    QPainterPath tri;
    if (booUp) {
        tri.moveTo(w / 2, 3);
        tri.lineTo(w - 4, h - 4);
        tri.lineTo(4, h - 4);
    } else {
        tri.moveTo(4, 4);
        tri.lineTo(w - 4, 4);
        tri.lineTo(w / 2, h - 3);
    }
    tri.closeSubpath();
    p.setPen(QPen(kDeep, 1.5));
    p.setBrush(kDark);
    p.drawPath(tri);
}

void vDrawReady(QImage& img, bool booPressed) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, pxW(img) - 1, pxH(img) - 1);
    vBevel(p, r, 14, booPressed ? kDark : kMid, booPressed, 4);
    p.setFont(fontPx(30));
    p.setPen(booPressed ? kLight : kInk);
    const QRectF tr = booPressed ? r.translated(2, 2) : r;
    p.drawText(tr.adjusted(0, 0, 0, -16), Qt::AlignCenter, QStringLiteral("READY"));
    // A lamp under the word: lit while the face is pressed.
    p.setPen(QPen(kDeep, 1.5));
    p.setBrush(booPressed ? QColor(255, 214, 120) : kLight.darker(110));
    p.drawEllipse(QPointF(tr.center().x(), tr.bottom() - 26), 8, 8);
}

void vDrawTextButton(QImage& img, bool booClose) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = pxH(img);
    const QPointF c(13, h / 2);
    p.setPen(QPen(kDark, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    if (booClose) {
        p.drawLine(c + QPointF(-6, -6), c + QPointF(6, 6));
        p.drawLine(c + QPointF(-6, 6), c + QPointF(6, -6));
    } else {
        // A circular arrow: the unit goes back to its start.
        const QRectF arc(c.x() - 7, c.y() - 7, 14, 14);
        p.drawArc(arc, 60 * 16, 290 * 16);
        QPainterPath head;
        head.moveTo(c + QPointF(2, -10.5));
        head.lineTo(c + QPointF(7.5, -6.5));
        head.lineTo(c + QPointF(1.5, -3));
        head.closeSubpath();
        p.setBrush(kDark);
        p.drawPath(head);
    }
    p.setFont(fontPx(14));
    p.setPen(kDark);
    p.drawText(QRectF(24, 0, pxW(img) - 24, h), Qt::AlignVCenter | Qt::AlignLeft,
               booClose ? QStringLiteral("Close") : QStringLiteral("Reset"));
}

void vDrawDigit(QImage& img, int digit) {
    // Segments a b c d e f g as bits 0..6.
    static const int kSegs[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, pxW(img), pxH(img)), kDark);
    const qreal w = pxW(img), h = pxH(img);
    const qreal t = 9, m = 6;
    const qreal x0 = m, x1 = w - m, y0 = m, y1 = h - m, ym = h / 2;
    auto hseg = [&](qreal y) {
        QPainterPath s;
        s.moveTo(x0 + 2, y);
        s.lineTo(x0 + t / 2 + 2, y - t / 2);
        s.lineTo(x1 - t / 2 - 2, y - t / 2);
        s.lineTo(x1 - 2, y);
        s.lineTo(x1 - t / 2 - 2, y + t / 2);
        s.lineTo(x0 + t / 2 + 2, y + t / 2);
        s.closeSubpath();
        return s;
    };
    auto vseg = [&](qreal x, qreal ya, qreal yb) {
        QPainterPath s;
        s.moveTo(x, ya + 2);
        s.lineTo(x + t / 2, ya + t / 2 + 2);
        s.lineTo(x + t / 2, yb - t / 2 - 2);
        s.lineTo(x, yb - 2);
        s.lineTo(x - t / 2, yb - t / 2 - 2);
        s.lineTo(x - t / 2, ya + t / 2 + 2);
        s.closeSubpath();
        return s;
    };
    const qreal xl = x0 + t / 2, xr = x1 - t / 2, yt = y0 + t / 2, yb = y1 - t / 2;
    const QPainterPath seg[7] = {hseg(yt),         vseg(xr, yt, ym), vseg(xr, ym, yb), hseg(yb),
                                 vseg(xl, ym, yb), vseg(xl, yt, ym), hseg(ym)};
    const QColor lit(196, 255, 242);
    const QColor off = kDark.lighter(107);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        p.setBrush(((kSegs[digit] >> i) & 1) != 0 ? lit : off);
        p.drawPath(seg[i]);
    }
}

void vDrawSizeButton(QImage& img, int size, int look) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, pxW(img) - 1, pxH(img) - 1);
    const QColor face = look == 1 ? kDark : look == 2 ? QColor(214, 220, 219) : kPale;
    const QColor ink = look == 1 ? kInk : look == 2 ? kGrey : kDark;
    vBevel(p, r, 6, face, look == 1, 2);
    static const qreal kScale[3] = {1.0, 0.8, 0.62};
    const qreal shift = look == 1 ? 1 : 0;
    vPerson(p, pxW(img) / 2.0 + 5 + shift, pxH(img) - 5 + shift, kScale[size], ink);
    p.setFont(fontPx(11));
    p.setPen(ink);
    static const char* kLetter[3] = {"L", "M", "S"};
    p.drawText(QRectF(4 + shift, 3 + shift, 14, 14), Qt::AlignCenter, QString::fromLatin1(kLetter[size]));
}

void vDrawLogo(QImage& img) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = pxH(img);
    // A panoramic arc over a small tooth row.
    p.setPen(QPen(kDark, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 4, 34, 40), 20 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kMid);
    for (int i = 0; i < 5; ++i) p.drawRoundedRect(QRectF(8 + i * 5.4, h - 12, 4.2, 7), 1.5, 1.5);
    p.setFont(fontPx(21));
    p.setPen(kDark);
    p.drawText(QRectF(46, 0, 150, h), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("ZYR PAN"));
    p.setFont(fontPx(12, false));
    p.setPen(kDark.lighter(130));
    p.drawText(QRectF(150, 0, pxW(img) - 150, h), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Panoramic / TMJ X-ray"));
}

}  // namespace pics
