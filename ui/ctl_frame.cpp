#include "ui/ctl_frame.h"

#include <QGroupBox>

#include "ui/widget_colors.h"

namespace ui {
namespace {
QGroupBox* box(QWidget* w) { return static_cast<QGroupBox*>(w); }
}  // namespace

Frame::Frame(Form& form, std::string name, int index, Control* container)
    : Control(Kind::Frame, form, std::move(name), index, container) {
    attach(new QGroupBox);
}

bool Frame::setCaption(const std::string& sCaption) {
    box(widget())->setTitle(QString::fromStdString(sCaption));
    return true;
}

std::optional<std::string> Frame::caption() const { return box(widget())->title().toStdString(); }

bool Frame::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    applyColors();
    return true;
}

bool Frame::setForeColor(int32_t lColor) {
    foreColor_ = lColor;
    applyColors();
    return true;
}

void Frame::setBorderStyle(int lStyle) {
    box(widget())->setFlat(lStyle == 0);
    box(widget())->setStyleSheet(lStyle == 0 ? QStringLiteral("QGroupBox { border: none; }") : QString());
}

void Frame::applyColors() { vApplyColors(widget(), backColor_, foreColor_); }

}  // namespace ui
