#include "ui/ctl_timer.h"

#include <QTimer>

namespace ui {

Timer::Timer(Form& form, std::string name, int index, Control* container)
    : Control(Kind::Timer, form, std::move(name), index, container), timer_(std::make_unique<QTimer>()) {
    // A timer does not run before its interval is set.
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
        if (auto h = onTimer) h();
    });
}

Timer::~Timer() = default;

int32_t Timer::interval() const { return timer_->interval(); }

void Timer::setInterval(int32_t lMs) {
    const int ms = lMs < 0 ? 0 : lMs;
    if (ms == timer_->interval()) return;
    timer_->setInterval(ms);
    timer_->stop();
    applyEnabled();
}

bool Timer::isRunning() const { return timer_->isActive(); }

void Timer::applyEnabled() {
    // Switched on, the timer counts its interval from now; switching on a
    // running timer again changes nothing.
    if (!enabled() || timer_->interval() <= 0)
        timer_->stop();
    else if (!timer_->isActive())
        timer_->start();
}

}  // namespace ui
