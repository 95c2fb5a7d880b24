// An image: shows a picture and serves as a button (Click, MouseDown,
// MouseUp). Unless Stretch is on, setting a picture sizes the control to it.
#pragma once
#include "ui/control.h"

namespace ui {

class Image : public Control {
public:
    Image(Form& form, std::string name, int index, Control* container);
    bool setPicture(const QPixmap& pic) override;
    QPixmap picture() const override;
    bool stretch() const;
    void setStretch(bool booStretch);
};

}  // namespace ui
