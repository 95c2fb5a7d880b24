#include "ui/ctl_progress.h"

#include <QPainter>
#include <QWidget>

namespace ui {
namespace {

class BarWidget : public QWidget {
public:
    int32_t min = 0;
    int32_t max = 100;
    int32_t value = 0;

    double filled() const {
        // A range of one point is either empty or, at its value, complete.
        if (max <= min) return value >= max ? 1.0 : 0.0;
        return static_cast<double>(value - min) / static_cast<double>(max - min);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.fillRect(rect(), palette().color(QPalette::Base));
        const int w = static_cast<int>((r.width() - 3) * filled() + 0.5);
        if (w > 0) p.fillRect(QRect(r.left() + 2, r.top() + 2, w, r.height() - 3), palette().color(QPalette::Highlight));
        p.setPen(palette().color(QPalette::Dark));
        p.drawRect(r);
    }
};

BarWidget* bar(QWidget* w) { return static_cast<BarWidget*>(w); }

}  // namespace

ProgressBar::ProgressBar(Form& form, std::string name, int index, Control* container)
    : Control(Kind::ProgressBar, form, std::move(name), index, container) {
    attach(new BarWidget);
}

int32_t ProgressBar::min() const { return bar(widget())->min; }
int32_t ProgressBar::max() const { return bar(widget())->max; }
int32_t ProgressBar::value() const { return bar(widget())->value; }
double ProgressBar::filled() const { return bar(widget())->filled(); }

void ProgressBar::setMin(int32_t lMin) {
    BarWidget* b = bar(widget());
    b->min = lMin;
    if (b->value < lMin) b->value = lMin;
    widget()->update();
}

void ProgressBar::setMax(int32_t lMax) {
    BarWidget* b = bar(widget());
    b->max = lMax;
    if (b->value > lMax) b->value = lMax;
    widget()->update();
}

bool ProgressBar::setValue(int32_t lValue) {
    BarWidget* b = bar(widget());
    if (lValue < b->min || lValue > b->max) return false;
    b->value = lValue;
    widget()->update();
    return true;
}

}  // namespace ui
