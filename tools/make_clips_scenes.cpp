// Each clip says in words and a moving picture which phase the exposure is
// in. Everything is drawn without smoothing in a small palette, so the
// frames are flat areas of colour that run-length code well.
#include "tools/make_clips_scenes.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace clips {
namespace {

constexpr int kFrames = 12;
constexpr uint32_t kMicroSecPerFrame = 125000;

enum Colour { Light, Dark, White, Black, Orange, Yellow, Teal, Grey, Silver, Charcoal, Red, Green, MidTeal };

const QList<QRgb>& palette() {
    static const QList<QRgb> colours = {
        qRgb(178, 227, 221), qRgb(15, 106, 97),   qRgb(255, 255, 255), qRgb(0, 0, 0),
        qRgb(255, 128, 30),  qRgb(255, 214, 0),   qRgb(75, 176, 161),  qRgb(128, 128, 128),
        qRgb(210, 210, 210), qRgb(60, 60, 60),    qRgb(200, 40, 40),   qRgb(40, 150, 70),
        qRgb(140, 200, 192),
    };
    return colours;
}

QColor colour(Colour c) { return QColor(palette()[c]); }

QFont letters(int pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void title(QPainter& p, const QString& text, Colour c) {
    p.setPen(colour(c));
    p.setFont(letters(19, true));
    p.drawText(QRect(150, 14, 242, 64), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text);
}

// A row of lamps along the bottom of the text, lit one after another.
void lamps(QPainter& p, int frame) {
    for (int i = 0; i < 8; ++i) {
        p.setPen(colour(Dark));
        p.setBrush(colour(i < frame * 9 / kFrames ? Teal : White));
        p.drawRect(150 + i * 28, 96, 18, 18);
    }
}

void sensor(QPainter& p, const QRect& r) {
    p.setPen(colour(Black));
    p.setBrush(colour(Charcoal));
    p.drawRoundedRect(r, 4, 4);
    p.setPen(colour(Grey));
    for (int x = r.left() + 8; x < r.right() - 4; x += 8) p.drawLine(x, r.top() + 4, x, r.bottom() - 4);
}

void drawStart(QPainter& p, int frame) {
    p.setPen(colour(Dark));
    p.setFont(letters(24, true));
    p.drawText(QRect(0, 2, 180, 30), Qt::AlignCenter, QStringLiteral("START"));

    // The hand switch, its button calling to be pressed.
    const QPoint button(90, 50);
    p.save();
    p.setClipRect(QRect(0, 32, 180, 84));
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 3; ++k) {
        const int r = 12 + (frame * 4 + k * 16) % 48;
        p.setPen(QPen(colour(r < 36 ? Orange : MidTeal), 2));
        p.drawEllipse(button, r, r * 2 / 3);
    }
    p.restore();
    p.setPen(colour(Black));
    p.setBrush(colour(Charcoal));
    p.drawRoundedRect(QRect(76, 54, 28, 56), 8, 8);
    p.setBrush(colour((frame / 3) % 2 == 0 ? Orange : Yellow));
    p.drawEllipse(QRect(79, 42, 22, 16));

    p.setPen(colour(Dark));
    p.setFont(letters(13, true));
    p.drawText(QRect(0, 116, 180, 22), Qt::AlignCenter, QStringLiteral("Press the hand switch"));
}

void drawStartImage(QPainter& p, int frame) {
    sensor(p, QRect(30, 34, 80, 72));
    p.setPen(colour(Black));
    p.setBrush(colour(frame % 2 == 0 ? Green : Charcoal));
    p.drawEllipse(QRect(94, 38, 10, 10));
    title(p, QStringLiteral("Starting image capture"), Dark);
    lamps(p, frame);
}

void drawTakeImage(QPainter& p, int frame) {
    // The tube above, the beam down to the sensor, sweeping across it.
    p.setPen(colour(Black));
    p.setBrush(colour(Silver));
    p.drawRoundedRect(QRect(40, 10, 60, 22), 6, 6);
    const int swing = frame <= kFrames / 2 ? frame : kFrames - frame;
    const int sweep = 30 + swing * 80 / (kFrames / 2);
    QPainterPath beam;
    beam.moveTo(70, 32);
    beam.lineTo(sweep - 8, 112);
    beam.lineTo(sweep + 8, 112);
    beam.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour(frame % 2 == 0 ? Yellow : Orange));
    p.drawPath(beam);
    sensor(p, QRect(20, 112, 100, 16));

    title(p, QStringLiteral("X-ray exposure in progress"), Dark);
    const bool lit = (frame / 2) % 2 == 0;
    p.setPen(colour(Black));
    p.setBrush(colour(lit ? Orange : Light));
    p.drawRect(QRect(150, 90, 130, 30));
    p.setPen(colour(lit ? Black : Orange));
    p.setFont(letters(16, true));
    p.drawText(QRect(150, 90, 130, 30), Qt::AlignCenter, QStringLiteral("X-RAY ON"));
}

void drawGetImage(QPainter& p, int frame) {
    sensor(p, QRect(6, 48, 40, 40));
    // The workstation's screen receiving the picture.
    p.setPen(colour(Black));
    p.setBrush(colour(Dark));
    p.drawRect(QRect(94, 40, 42, 34));
    p.drawRect(QRect(108, 74, 14, 8));
    p.drawRect(QRect(100, 82, 30, 4));
    for (int k = 0; k < 3; ++k) {
        const int x = 50 + (frame * 4 + k * 14) % 40;
        p.setBrush(colour(Orange));
        p.drawRect(QRect(x, 62, 6, 6));
    }
    title(p, QStringLiteral("Receiving image"), Dark);
    p.setPen(colour(Dark));
    p.setBrush(colour(White));
    p.drawRect(QRect(150, 96, 220, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(colour(Teal));
    p.drawRect(QRect(152, 98, 217 * (frame + 1) / kFrames, 15));
}

void drawProcessImage(QPainter& p, int frame) {
    // A wheel of spokes, the lit one going round.
    const QPointF centre(70, 70);
    for (int i = 0; i < 12; ++i) {
        const double a = i * 2 * std::numbers::pi / 12;
        const QPointF dir(std::sin(a), -std::cos(a));
        p.setPen(QPen(colour(i == frame % 12 ? Orange : (i == (frame + 11) % 12 ? Teal : MidTeal)), 7));
        p.drawLine(centre + dir * 22, centre + dir * 46);
    }
    title(p, QStringLiteral("Processing image"), Dark);
    p.setPen(colour(Dark));
    p.setFont(letters(14, false));
    p.drawText(QRect(150, 90, 242, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Please wait"));
}

struct tScene {
    const char* name;
    int width;
    int height;
    void (*draw)(QPainter&, int frame);
};

const tScene kScenes[] = {
    {"START", 180, 140, drawStart},
    {"STARTIMG", 400, 140, drawStartImage},
    {"TAKEIMG", 400, 140, drawTakeImage},
    {"GETIMG", 400, 140, drawGetImage},
    {"PROIMG", 400, 140, drawProcessImage},
};

}  // namespace

std::vector<std::string> clipNames() {
    std::vector<std::string> names;
    for (const tScene& s : kScenes) names.emplace_back(s.name);
    return names;
}

tClip drawClip(const std::string& name) {
    tClip clip;
    clip.microSecPerFrame = kMicroSecPerFrame;
    for (const tScene& s : kScenes) {
        if (name != s.name) continue;
        for (int frame = 0; frame < kFrames; ++frame) {
            QImage canvas(s.width, s.height, QImage::Format_RGB32);
            canvas.fill(colour(Light));
            QPainter p(&canvas);
            s.draw(p, frame);
            p.end();
            clip.frames.push_back(
                canvas.convertToFormat(QImage::Format_Indexed8, palette(), Qt::ThresholdDither | Qt::AvoidDither));
        }
    }
    return clip;
}

}  // namespace clips
