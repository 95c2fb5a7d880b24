#include "ui/ctl_button.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "ui/color.h"

namespace ui {
namespace {

// The face of both push button kinds, drawn flat: background colour, a
// bevel (raised, or sunken while pressed), the picture centred and the
// caption under it.
class ButtonFace : public QAbstractButton {
public:
    QPixmap pic;
    std::optional<int32_t> back;
    std::optional<int32_t> fore;
    bool threeD = false;
    bool outline = true;
    bool latched = false;  // the 3-D button's Value

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        // A control disabled only through its frame stays lit: its own
        // Enabled property decides how it looks.
        const bool ownEnabled = !testAttribute(Qt::WA_ForceDisabled);
        const QColor face = back ? qColorOf(*back) : palette().color(QPalette::Active, QPalette::Button);
        p.fillRect(rect(), face);
        const bool sunken = isDown() || latched;
        const QRect r = rect().adjusted(0, 0, -1, -1);
        const int bevel = threeD ? 2 : 1;
        for (int i = 0; i < bevel; ++i) {
            const QRect b = r.adjusted(i, i, -i, -i);
            p.setPen(sunken ? face.darker(160) : face.lighter(135));
            p.drawLine(b.topLeft(), b.topRight());
            p.drawLine(b.topLeft(), b.bottomLeft());
            p.setPen(sunken ? face.lighter(135) : face.darker(160));
            p.drawLine(b.bottomLeft(), b.bottomRight());
            p.drawLine(b.topRight(), b.bottomRight());
        }
        if (outline) {
            p.setPen(face.darker(300));
            p.drawRect(r);
        }
        const QPoint shift = sunken ? QPoint(1, 1) : QPoint(0, 0);
        const QString cap = text();
        const int textH = cap.isEmpty() ? 0 : fontMetrics().height();
        if (!pic.isNull()) {
            QPixmap shown = pic;
            if (!ownEnabled) {
                QStyleOption opt;
                opt.initFrom(this);
                shown = style()->generatedIconPixmap(QIcon::Disabled, pic, &opt);
            }
            const QSize s = shown.deviceIndependentSize().toSize();
            const int x = (width() - s.width()) / 2;
            const int y = (height() - s.height() - textH) / 2;
            p.drawPixmap(QPoint(x, y) + shift, shown);
        }
        if (!cap.isEmpty()) {
            QColor ink = fore ? qColorOf(*fore) : palette().color(QPalette::Active, QPalette::ButtonText);
            if (!ownEnabled) ink = palette().color(QPalette::Disabled, QPalette::ButtonText);
            p.setPen(ink);
            const QRect tr = pic.isNull() ? rect() : QRect(0, height() - textH - 4, width(), textH);
            p.drawText(tr.translated(shift), Qt::AlignCenter, cap);
        }
    }
};

ButtonFace* face(QWidget* w) { return static_cast<ButtonFace*>(w); }

}  // namespace

ButtonBase::ButtonBase(Kind kind, Form& form, std::string name, int index, Control* container)
    : Control(kind, form, std::move(name), index, container) {
    auto* w = new ButtonFace;
    w->threeD = kind == Kind::Button3D;
    QObject::connect(w, &QAbstractButton::clicked, [this] { fireClick(); });
    attach(w);
}

bool ButtonBase::setCaption(const std::string& sCaption) {
    face(widget())->setText(QString::fromStdString(sCaption));
    return true;
}

std::optional<std::string> ButtonBase::caption() const { return face(widget())->text().toStdString(); }

bool ButtonBase::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    applyColors();
    return true;
}

bool ButtonBase::setForeColor(int32_t lColor) {
    foreColor_ = lColor;
    applyColors();
    return true;
}

bool ButtonBase::setPicture(const QPixmap& pic) {
    face(widget())->pic = pic;
    widget()->update();
    return true;
}

QPixmap ButtonBase::picture() const { return face(widget())->pic; }

bool ButtonBase::click() {
    if (!booReachable()) return false;
    // Through the widget, so that the press looks and sounds like the mouse's.
    fireMouse(true, vbLeftButton, 0, 0, 0);
    fireMouse(false, vbLeftButton, 0, 0, 0);
    face(widget())->click();
    return true;
}

void ButtonBase::applyColors() {
    face(widget())->back = backColor_;
    face(widget())->fore = foreColor_;
    widget()->update();
}

CommandButton::CommandButton(Form& form, std::string name, int index, Control* container)
    : ButtonBase(Kind::CommandButton, form, std::move(name), index, container) {}

Button3D::Button3D(Form& form, std::string name, int index, Control* container)
    : ButtonBase(Kind::Button3D, form, std::move(name), index, container) {}

bool Button3D::value() const { return face(widget())->latched; }

void Button3D::setValue(bool booPressed) {
    face(widget())->latched = booPressed;
    widget()->update();
}

bool Button3D::outline() const { return face(widget())->outline; }

void Button3D::setOutline(bool booOutline) {
    face(widget())->outline = booOutline;
    widget()->update();
}

}  // namespace ui
