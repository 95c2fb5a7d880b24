#include "ui/ctl_textbox.h"

#include <QLineEdit>

#include "ui/widget_colors.h"

namespace ui {
namespace {
QLineEdit* edit(QWidget* w) { return static_cast<QLineEdit*>(w); }
constexpr int kNoLimit = 32767;
}  // namespace

TextBox::TextBox(Form& form, std::string name, int index, Control* container)
    : Control(Kind::TextBox, form, std::move(name), index, container) {
    auto* w = new QLineEdit;
    w->setMaxLength(kNoLimit);
    QObject::connect(w, &QLineEdit::textChanged, [this](const QString&) { fireChange(); });
    attach(w);
}

std::string TextBox::text() const { return edit(widget())->text().toStdString(); }

void TextBox::setText(const std::string& sText) { edit(widget())->setText(QString::fromStdString(sText)); }

bool TextBox::locked() const { return edit(widget())->isReadOnly(); }

void TextBox::setLocked(bool booLocked) { edit(widget())->setReadOnly(booLocked); }

int TextBox::maxLength() const {
    const int m = edit(widget())->maxLength();
    return m >= kNoLimit ? 0 : m;
}

void TextBox::setMaxLength(int lMax) { edit(widget())->setMaxLength(lMax <= 0 ? kNoLimit : lMax); }

int TextBox::selStart() const {
    QLineEdit* e = edit(widget());
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TextBox::setSelStart(int lStart) {
    QLineEdit* e = edit(widget());
    e->deselect();
    e->setCursorPosition(lStart);
}

int TextBox::selLength() const { return static_cast<int>(edit(widget())->selectedText().size()); }

void TextBox::setSelLength(int lLength) {
    QLineEdit* e = edit(widget());
    const int start = selStart();
    const int avail = static_cast<int>(e->text().size()) - start;
    const int len = lLength < 0 ? 0 : (lLength > avail ? avail : lLength);
    if (len == 0) {
        e->deselect();
        e->setCursorPosition(start);
    } else {
        e->setSelection(start, len);
    }
}

std::string TextBox::selText() const { return edit(widget())->selectedText().toStdString(); }

bool TextBox::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    applyColors();
    return true;
}

bool TextBox::setForeColor(int32_t lColor) {
    foreColor_ = lColor;
    applyColors();
    return true;
}

void TextBox::applyColors() { vApplyColors(widget(), backColor_, foreColor_, QPalette::Base, QPalette::Text); }

}  // namespace ui
