// A label: a caption on the window's background.
#pragma once
#include "ui/control.h"

namespace ui {

class Label : public Control {
public:
    Label(Form& form, std::string name, int index, Control* container);
    bool setCaption(const std::string& sCaption) override;
    std::optional<std::string> caption() const override;
    bool setBackColor(int32_t lColor) override;
    bool setForeColor(int32_t lColor) override;
    // 0 left, 1 right, 2 centre.
    void setAlignment(int lAlignment);

protected:
    void applyColors() override;
};

}  // namespace ui
