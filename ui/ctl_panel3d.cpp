#include "ui/ctl_panel3d.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "ui/color.h"

namespace ui {
namespace {

// Alert: the warning border blinks at this rate so the operator notices it.
constexpr int kBlinkMs = 500;
const QColor kAlertEdge(255, 128, 30);
const QColor kCoolBand(96, 170, 225);
// Behind the alert text: dark, so that the warning colour stands out.
const QColor kAlertFace(15, 106, 97);
const QColor kCoolFace(222, 238, 250);

class PanelWidget : public QWidget {
public:
    PanelWidget() {
        blink_.setInterval(kBlinkMs);
        QObject::connect(&blink_, &QTimer::timeout, [this] {
            blinkOn_ = !blinkOn_;
            update();
        });
    }
    QString text;
    std::optional<int32_t> back;
    std::optional<int32_t> fore;
    Qt::Alignment align = Qt::AlignHCenter;
    PanelLook look = PanelLook::Normal;

    void setLook(PanelLook l) {
        look = l;
        blinkOn_ = true;
        if (l == PanelLook::Alert)
            blink_.start();
        else
            blink_.stop();
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QColor own = back ? qColorOf(*back) : palette().color(QPalette::Button);
        const QColor face = look == PanelLook::Alert ? kAlertFace : look == PanelLook::Cooling ? kCoolFace : own;
        p.fillRect(rect(), face);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        const bool sunken = look == PanelLook::Cooling;
        const int bevel = look == PanelLook::Normal ? 1 : 2;
        for (int i = 0; i < bevel; ++i) {
            const QRect b = r.adjusted(i, i, -i, -i);
            p.setPen(sunken ? face.darker(170) : face.lighter(140));
            p.drawLine(b.topLeft(), b.topRight());
            p.drawLine(b.topLeft(), b.bottomLeft());
            p.setPen(sunken ? face.lighter(140) : face.darker(170));
            p.drawLine(b.bottomLeft(), b.bottomRight());
            p.drawLine(b.topRight(), b.bottomRight());
        }
        QRect textRect = rect().adjusted(8, 0, -8, 0);
        if (look == PanelLook::Alert && blinkOn_) {
            QPen pen(kAlertEdge, 4);
            pen.setJoinStyle(Qt::MiterJoin);
            p.setPen(pen);
            p.drawRect(rect().adjusted(3, 3, -3, -3));
        }
        if (look == PanelLook::Cooling) {
            const QRect band(3, 3, 14, height() - 6);
            p.fillRect(band, kCoolBand);
            textRect.setLeft(band.right() + 10);
        }
        QFont f = font();
        f.setBold(look == PanelLook::Alert);
        f.setItalic(look == PanelLook::Cooling);
        p.setFont(f);
        p.setPen(fore ? qColorOf(*fore) : palette().color(QPalette::WindowText));
        p.drawText(textRect, static_cast<int>(align | Qt::AlignVCenter), text);
    }

private:
    QTimer blink_;
    bool blinkOn_ = true;
};

PanelWidget* pw(QWidget* w) { return static_cast<PanelWidget*>(w); }

}  // namespace

Panel3D::Panel3D(Form& form, std::string name, int index, Control* container)
    : Control(Kind::Panel3D, form, std::move(name), index, container) {
    attach(new PanelWidget);
}

bool Panel3D::setCaption(const std::string& sCaption) {
    pw(widget())->text = QString::fromStdString(sCaption);
    widget()->update();
    return true;
}

std::optional<std::string> Panel3D::caption() const { return pw(widget())->text.toStdString(); }

bool Panel3D::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    applyColors();
    return true;
}

bool Panel3D::setForeColor(int32_t lColor) {
    foreColor_ = lColor;
    applyColors();
    return true;
}

PanelLook Panel3D::look() const { return pw(widget())->look; }

void Panel3D::setLook(PanelLook look) { pw(widget())->setLook(look); }

void Panel3D::setAlignment(int lAlignment) {
    pw(widget())->align = lAlignment == 0 ? Qt::AlignLeft : lAlignment == 1 ? Qt::AlignRight : Qt::AlignHCenter;
    widget()->update();
}

void Panel3D::applyColors() {
    pw(widget())->back = backColor_;
    pw(widget())->fore = foreColor_;
    widget()->update();
}

}  // namespace ui
