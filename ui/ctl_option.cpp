#include "ui/ctl_option.h"

#include <QRadioButton>

#include "ui/widget_colors.h"

namespace ui {
namespace {
QRadioButton* radio(QWidget* w) { return static_cast<QRadioButton*>(w); }
}  // namespace

OptionButton::OptionButton(Form& form, std::string name, int index, Control* container)
    : Control(Kind::OptionButton, form, std::move(name), index, container) {
    auto* w = new QRadioButton;
    // Its background is the window's colour behind the text, not a button face.
    w->setBackgroundRole(QPalette::Window);
    // Turning an option on, by the operator or by the program, raises Click.
    QObject::connect(w, &QRadioButton::toggled, [this](bool on) {
        if (on) fireClick();
    });
    attach(w);
}

bool OptionButton::setCaption(const std::string& sCaption) {
    radio(widget())->setText(QString::fromStdString(sCaption));
    return true;
}

std::optional<std::string> OptionButton::caption() const { return radio(widget())->text().toStdString(); }

bool OptionButton::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    applyColors();
    return true;
}

bool OptionButton::setForeColor(int32_t lColor) {
    foreColor_ = lColor;
    applyColors();
    return true;
}

bool OptionButton::value() const { return radio(widget())->isChecked(); }

void OptionButton::setValue(bool booOn) {
    QRadioButton* r = radio(widget());
    if (booOn) {
        r->setChecked(true);
        return;
    }
    // An exclusive option cannot be switched off alone; lift the group rule
    // for the moment so that the whole group can show no choice.
    r->setAutoExclusive(false);
    r->setChecked(false);
    r->setAutoExclusive(true);
}

void OptionButton::applyColors() { vApplyColors(widget(), backColor_, foreColor_); }

}  // namespace ui
