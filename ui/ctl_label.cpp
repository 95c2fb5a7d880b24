#include "ui/ctl_label.h"

#include <QLabel>

#include "ui/widget_colors.h"

namespace ui {
namespace {
QLabel* label(QWidget* w) { return static_cast<QLabel*>(w); }
}  // namespace

Label::Label(Form& form, std::string name, int index, Control* container)
    : Control(Kind::Label, form, std::move(name), index, container) {
    auto* w = new QLabel;
    w->setTextFormat(Qt::PlainText);
    w->setWordWrap(true);
    w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    attach(w);
}

bool Label::setCaption(const std::string& sCaption) {
    label(widget())->setText(QString::fromStdString(sCaption));
    return true;
}

std::optional<std::string> Label::caption() const { return label(widget())->text().toStdString(); }

bool Label::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    applyColors();
    return true;
}

bool Label::setForeColor(int32_t lColor) {
    foreColor_ = lColor;
    applyColors();
    return true;
}

void Label::setAlignment(int lAlignment) {
    const Qt::Alignment h = lAlignment == 1 ? Qt::AlignRight : lAlignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
    label(widget())->setAlignment(h | Qt::AlignTop);
}

void Label::applyColors() { vApplyColors(widget(), backColor_, foreColor_); }

}  // namespace ui
