// A 3-D panel showing one line of text, with three looks: normal (raised,
// in its background colour), alert (dark face, a thick warning border that
// blinks, bold text) and cooling (sunken pale blue face with a cool band
// along its left edge, italic text). The text colour is the panel's own in
// every look.
#pragma once
#include "ui/control.h"

namespace ui {

enum class PanelLook { Normal, Alert, Cooling };

class Panel3D : public Control {
public:
    Panel3D(Form& form, std::string name, int index, Control* container);
    bool setCaption(const std::string& sCaption) override;
    std::optional<std::string> caption() const override;
    bool setBackColor(int32_t lColor) override;
    bool setForeColor(int32_t lColor) override;
    PanelLook look() const;
    void setLook(PanelLook look);
    // 0 left, 1 right, 2 centre (the default).
    void setAlignment(int lAlignment);

protected:
    void applyColors() override;
};

}  // namespace ui
