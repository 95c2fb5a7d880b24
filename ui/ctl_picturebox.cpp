#include "ui/ctl_picturebox.h"

#include <QPainter>
#include <QWidget>

#include "ui/color.h"

namespace ui {
namespace {

class PictureWidget : public QWidget {
public:
    QPixmap pic;
    std::optional<int32_t> back;
    int border = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (back) p.fillRect(rect(), qColorOf(*back));
        if (!pic.isNull()) p.drawPixmap(0, 0, pic);
        if (border != 0) {
            // A thin sunken edge: dark above and left, light below and right.
            const QRect r = rect().adjusted(0, 0, -1, -1);
            p.setPen(palette().color(QPalette::Dark));
            p.drawLine(r.topLeft(), r.topRight());
            p.drawLine(r.topLeft(), r.bottomLeft());
            p.setPen(palette().color(QPalette::Light));
            p.drawLine(r.bottomLeft(), r.bottomRight());
            p.drawLine(r.topRight(), r.bottomRight());
        }
    }
};

PictureWidget* pw(QWidget* w) { return static_cast<PictureWidget*>(w); }

}  // namespace

PictureBox::PictureBox(Form& form, std::string name, int index, Control* container)
    : Control(Kind::PictureBox, form, std::move(name), index, container) {
    attach(new PictureWidget);
}

bool PictureBox::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    applyColors();
    return true;
}

bool PictureBox::setForeColor(int32_t lColor) {
    foreColor_ = lColor;
    return true;
}

bool PictureBox::setPicture(const QPixmap& pic) {
    pw(widget())->pic = pic;
    widget()->update();
    return true;
}

QPixmap PictureBox::picture() const { return pw(widget())->pic; }

void PictureBox::setBorderStyle(int lStyle) {
    pw(widget())->border = lStyle;
    widget()->update();
}

void PictureBox::applyColors() {
    pw(widget())->back = backColor_;
    widget()->update();
}

}  // namespace ui
