#include "ui/ctl_image.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "ui/twips.h"

namespace ui {
namespace {

// Shows the picture; a left press released over it is a click.
class ImageWidget : public QWidget {
public:
    explicit ImageWidget(Control& c) : c_(c) {}
    QPixmap pic;
    bool stretch = false;

protected:
    void paintEvent(QPaintEvent*) override {
        if (pic.isNull()) return;
        QPainter p(this);
        if (stretch)
            p.drawPixmap(rect(), pic);
        else
            p.drawPixmap(0, 0, pic);
    }
    void mousePressEvent(QMouseEvent* e) override { pressed_ = e->button() == Qt::LeftButton; }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const bool was = pressed_;
        pressed_ = false;
        if (was && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) c_.fireClick();
    }

private:
    Control& c_;
    bool pressed_ = false;
};

ImageWidget* iw(QWidget* w) { return static_cast<ImageWidget*>(w); }

}  // namespace

Image::Image(Form& form, std::string name, int index, Control* container)
    : Control(Kind::Image, form, std::move(name), index, container) {
    attach(new ImageWidget(*this));
}

bool Image::setPicture(const QPixmap& pic) {
    ImageWidget* w = iw(widget());
    w->pic = pic;
    // Without Stretch the image takes the size of its picture.
    if (!w->stretch && !pic.isNull()) {
        const QSize s = pic.deviceIndependentSize().toSize();
        move(left(), top(), lTwipsX(s.width()), lTwipsY(s.height()));
    }
    w->update();
    return true;
}

QPixmap Image::picture() const { return iw(widget())->pic; }

bool Image::stretch() const { return iw(widget())->stretch; }

void Image::setStretch(bool booStretch) {
    iw(widget())->stretch = booStretch;
    widget()->update();
}

}  // namespace ui
