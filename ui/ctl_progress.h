// A progress bar with a minimum, a maximum and a value. A value outside the
// range is refused; a range of one point (minimum = maximum) shows the bar
// full when the value is at it.
#pragma once
#include "ui/control.h"

namespace ui {

class ProgressBar : public Control {
public:
    ProgressBar(Form& form, std::string name, int index, Control* container);
    int32_t min() const;
    int32_t max() const;
    int32_t value() const;
    // A value left outside a changed range is brought to its nearer end.
    void setMin(int32_t lMin);
    void setMax(int32_t lMax);
    bool setValue(int32_t lValue);
    // Filled part of the bar, 0.0 to 1.0.
    double filled() const;
};

}  // namespace ui
