// The push buttons: the plain one (CommandButton) and the 3-D one (Button3D).
// Both show an optional picture centred on their face, with the caption
// under it; the picture alone when the caption is empty.
#pragma once
#include "ui/control.h"

namespace ui {

class ButtonBase : public Control {
public:
    bool setCaption(const std::string& sCaption) override;
    std::optional<std::string> caption() const override;
    bool setBackColor(int32_t lColor) override;
    bool setForeColor(int32_t lColor) override;
    bool setPicture(const QPixmap& pic) override;
    QPixmap picture() const override;
    bool click() override;

protected:
    ButtonBase(Kind kind, Form& form, std::string name, int index, Control* container);
    void applyColors() override;
};

class CommandButton : public ButtonBase {
public:
    CommandButton(Form& form, std::string name, int index, Control* container);
};

class Button3D : public ButtonBase {
public:
    Button3D(Form& form, std::string name, int index, Control* container);
    // Pressed state of the face (shown sunken while true).
    bool value() const;
    void setValue(bool booPressed);
    // The dark outline drawn round the face; switched off where the picture
    // draws its own edge (the READY button's faces).
    bool outline() const;
    void setOutline(bool booOutline);
};

}  // namespace ui
