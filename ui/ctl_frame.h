// A frame: a captioned container; the positions of its controls are
// relative to it, and disabling it locks every control inside.
#pragma once
#include "ui/control.h"

namespace ui {

class Frame : public Control {
public:
    Frame(Form& form, std::string name, int index, Control* container);
    bool setCaption(const std::string& sCaption) override;
    std::optional<std::string> caption() const override;
    bool setBackColor(int32_t lColor) override;
    bool setForeColor(int32_t lColor) override;
    // 0 = no border (the caption, if any, still shows), 1 = the etched border
    // with the caption set into its top line (the default).
    void setBorderStyle(int lStyle);

protected:
    void applyColors() override;
};

}  // namespace ui
