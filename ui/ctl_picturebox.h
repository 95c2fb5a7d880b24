// A picture box: a container with a background colour and a picture drawn
// unscaled at its top left corner.
#pragma once
#include "ui/control.h"

namespace ui {

class PictureBox : public Control {
public:
    PictureBox(Form& form, std::string name, int index, Control* container);
    bool setBackColor(int32_t lColor) override;
    bool setForeColor(int32_t lColor) override;
    bool setPicture(const QPixmap& pic) override;
    QPixmap picture() const override;
    // 0 = none, 1 = a thin sunken border.
    void setBorderStyle(int lStyle);

protected:
    void applyColors() override;
};

}  // namespace ui
