// An up-down spinner: two arrow buttons that step Value by Increment within
// Min to Max (no wrapping) and raise Change.
#pragma once
#include "ui/control.h"

namespace ui {

class UpDown : public Control {
public:
    UpDown(Form& form, std::string name, int index, Control* container);
    int32_t min() const;
    int32_t max() const;
    int32_t increment() const;
    int32_t value() const;
    void setMin(int32_t lMin);
    void setMax(int32_t lMax);
    void setIncrement(int32_t lIncrement);
    // Clamped into the range; raises Change when the value changes.
    void setValue(int32_t lValue);
    // The operator's press on the up or the down arrow.
    void stepUp();
    void stepDown();
};

}  // namespace ui
