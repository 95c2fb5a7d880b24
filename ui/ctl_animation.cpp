#include "ui/ctl_animation.h"

#include "ui/animation_widget.h"
#include "ui/color.h"

namespace ui {
namespace {
AnimationWidget* anim(QWidget* w) { return static_cast<AnimationWidget*>(w); }
}  // namespace

AnimationArea::AnimationArea(Form& form, std::string name, int index, Control* container)
    : Control(Kind::AnimationArea, form, std::move(name), index, container) {
    attach(new AnimationWidget);
}

bool AnimationArea::open(const std::string& sPath) { return anim(widget())->Open(sPath); }
void AnimationArea::play() { anim(widget())->Play(); }
void AnimationArea::stop() { anim(widget())->Stop(); }
void AnimationArea::close() { anim(widget())->Close(); }
bool AnimationArea::autoPlay() const { return anim(widget())->autoPlay(); }
void AnimationArea::setAutoPlay(bool booAutoPlay) { anim(widget())->setAutoPlay(booAutoPlay); }
bool AnimationArea::isOpen() const { return anim(widget())->isOpen(); }
bool AnimationArea::isPlaying() const { return anim(widget())->isPlaying(); }

bool AnimationArea::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    anim(widget())->setBackColor(qColorOf(lColor));
    return true;
}

}  // namespace ui
