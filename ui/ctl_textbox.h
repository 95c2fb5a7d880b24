// A one-line text box. Locked = read-only. Change is raised on every change
// of the text, also when the program sets it; GotFocus when it gets the focus.
#pragma once
#include "ui/control.h"

namespace ui {

class TextBox : public Control {
public:
    TextBox(Form& form, std::string name, int index, Control* container);
    std::string text() const;
    void setText(const std::string& sText);
    bool locked() const;
    void setLocked(bool booLocked);
    // 0 = no limit.
    int maxLength() const;
    void setMaxLength(int lMax);
    // Selection in characters.
    int selStart() const;
    void setSelStart(int lStart);
    int selLength() const;
    void setSelLength(int lLength);
    std::string selText() const;
    bool setBackColor(int32_t lColor) override;
    bool setForeColor(int32_t lColor) override;

protected:
    void applyColors() override;
};

}  // namespace ui
