#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <utility>
#include <vector>

namespace platform {
namespace {

constexpr int32_t IDABORT = 3;
constexpr int32_t IDIGNORE = 5;

MsgBoxResponder& responder() {
    static MsgBoxResponder installed;
    return installed;
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int32_t result;
};

// The button set in the low four bits of the style, in the order shown.
std::vector<ButtonSpec> buttonsOf(uint32_t style) {
    switch (style & 0x0Fu) {
    case 1: return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case 2: return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case 3: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case 4: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case 5: return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default: return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon iconOf(uint32_t style) {
    switch (style & 0xF0u) {
    case 0x10: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case 0x40: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// Which button (0-based) starts preselected: bits 8..9 of the style.
size_t defaultIndexOf(uint32_t style) { return (style >> 8) & 0x3u; }

}  // namespace

int32_t MessageBoxA(void* hOwner, const char* text, const char* title, uint32_t style) {
    const MsgBoxCall call{hOwner, text != nullptr ? text : "", title != nullptr ? title : "", style};
    if (responder()) return responder()(call);
    if (QApplication::instance() == nullptr) return 0;  // no toolkit yet: the box cannot appear

    QMessageBox box(iconOf(style), QString::fromUtf8(call.title), QString::fromUtf8(call.text),
                    QMessageBox::NoButton, static_cast<QWidget*>(hOwner));
    box.setWindowModality(Qt::ApplicationModal);
    const std::vector<ButtonSpec> specs = buttonsOf(style);
    for (const ButtonSpec& spec : specs) box.addButton(spec.button);
    const size_t def = defaultIndexOf(style) < specs.size() ? defaultIndexOf(style) : 0;
    box.setDefaultButton(specs[def].button);
    box.exec();

    const QAbstractButton* clicked = box.clickedButton();
    for (const ButtonSpec& spec : specs) {
        if (clicked != nullptr && clicked == box.button(spec.button)) return spec.result;
    }
    // Closed without a button (Escape or the window manager): Cancel when the
    // box has it, else No, else its only or first button.
    for (const int32_t answer : {IDCANCEL, IDNO}) {
        for (const ButtonSpec& spec : specs) {
            if (spec.result == answer) return answer;
        }
    }
    return specs.front().result;
}

void vSetMsgBoxResponder(MsgBoxResponder r) { responder() = std::move(r); }

}  // namespace platform
