#include "ui/ctl_updown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

namespace ui {
namespace {

struct SpinWidget : public QWidget {
    int32_t min = 0;
    int32_t max = 10;
    int32_t inc = 1;
    int32_t value = 0;
    QToolButton* up = nullptr;
    QToolButton* down = nullptr;
};

SpinWidget* spin(QWidget* w) { return static_cast<SpinWidget*>(w); }

QToolButton* arrow(QWidget* parent, Qt::ArrowType type) {
    auto* b = new QToolButton(parent);
    b->setArrowType(type);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return b;
}

}  // namespace

UpDown::UpDown(Form& form, std::string name, int index, Control* container)
    : Control(Kind::UpDown, form, std::move(name), index, container) {
    auto* w = new SpinWidget;
    auto* lay = new QVBoxLayout(w);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    w->up = arrow(w, Qt::UpArrow);
    w->down = arrow(w, Qt::DownArrow);
    lay->addWidget(w->up);
    lay->addWidget(w->down);
    QObject::connect(w->up, &QToolButton::clicked, [this] { stepUp(); });
    QObject::connect(w->down, &QToolButton::clicked, [this] { stepDown(); });
    attach(w);
}

int32_t UpDown::min() const { return spin(widget())->min; }
int32_t UpDown::max() const { return spin(widget())->max; }
int32_t UpDown::increment() const { return spin(widget())->inc; }
int32_t UpDown::value() const { return spin(widget())->value; }

void UpDown::setMin(int32_t lMin) {
    spin(widget())->min = lMin;
    setValue(value());
}

void UpDown::setMax(int32_t lMax) {
    spin(widget())->max = lMax;
    setValue(value());
}

void UpDown::setIncrement(int32_t lIncrement) { spin(widget())->inc = lIncrement > 0 ? lIncrement : 1; }

void UpDown::setValue(int32_t lValue) {
    SpinWidget* s = spin(widget());
    const int32_t lo = s->min < s->max ? s->min : s->max;
    const int32_t hi = s->min < s->max ? s->max : s->min;
    const int32_t v = lValue < lo ? lo : (lValue > hi ? hi : lValue);
    if (v == s->value) return;
    s->value = v;
    fireChange();
}

void UpDown::stepUp() {
    if (!booReachable()) return;
    const int64_t v = static_cast<int64_t>(value()) + increment();
    setValue(v > max() ? max() : static_cast<int32_t>(v));
}

void UpDown::stepDown() {
    if (!booReachable()) return;
    const int64_t v = static_cast<int64_t>(value()) - increment();
    setValue(v < min() ? min() : static_cast<int32_t>(v));
}

}  // namespace ui
