// An option button: options in the same container form one group, of which
// at most one is on. Click is raised when the operator turns one on.
#pragma once
#include "ui/control.h"

namespace ui {

class OptionButton : public Control {
public:
    OptionButton(Form& form, std::string name, int index, Control* container);
    bool setCaption(const std::string& sCaption) override;
    std::optional<std::string> caption() const override;
    bool setBackColor(int32_t lColor) override;
    bool setForeColor(int32_t lColor) override;
    bool value() const;
    // True turns the others of the group off; False turns this one off only.
    void setValue(bool booOn);

protected:
    void applyColors() override;
};

}  // namespace ui
