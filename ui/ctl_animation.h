// An animation area: plays a silent clip file in a loop (ui/animation_widget.h
// does the decoding and drawing).
#pragma once
#include "ui/control.h"

namespace ui {

class AnimationArea : public Control {
public:
    AnimationArea(Form& form, std::string name, int index, Control* container);
    // Opens a clip, freeing the one before even when this open fails; with
    // AutoPlay on the clip starts at once. False when it cannot be played.
    bool open(const std::string& sPath);
    void play();
    void stop();   // keeps the frame shown
    void close();  // clears to the background colour
    bool autoPlay() const;
    void setAutoPlay(bool booAutoPlay);
    bool isOpen() const;
    bool isPlaying() const;
    bool setBackColor(int32_t lColor) override;
};

}  // namespace ui
