// A timer: while Enabled and Interval > 0, onTimer runs every Interval ms.
// Enabled = False stops it; True starts the interval anew.
#pragma once
#include "ui/control.h"

class QTimer;

namespace ui {

class Timer : public Control {
public:
    Timer(Form& form, std::string name, int index, Control* container);
    ~Timer() override;
    int32_t interval() const;
    void setInterval(int32_t lMs);
    // Whether the timer is counting (Enabled and Interval > 0).
    bool isRunning() const;
    std::function<void()> onTimer;

protected:
    void applyEnabled() override;

private:
    std::unique_ptr<QTimer> timer_;
};

}  // namespace ui
