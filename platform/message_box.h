// Modal message boxes with MessageBoxA's meaning: style 64 = information
// icon and OK; style 292 = question icon, Yes and No, No preselected.
// Result 6 = Yes (and OK = 1), 7 = No, 4 = Retry, 2 = Cancel.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

constexpr uint32_t MB_ICONINFORMATION = 64;
constexpr uint32_t MB_YESNO_QUESTION_DEFBUTTON2 = 292;
constexpr uint32_t MB_RETRYCANCEL_WARNING = 0x35;  // warning icon, Retry and Cancel, Retry preselected
constexpr int32_t IDOK = 1;
constexpr int32_t IDCANCEL = 2;
constexpr int32_t IDRETRY = 4;
constexpr int32_t IDYES = 6;
constexpr int32_t IDNO = 7;

// hOwner is the owning window (a QWidget*), or null for none.
int32_t MessageBoxA(void* hOwner, const char* text, const char* title, uint32_t style);

struct MsgBoxCall {
    void* hOwner;
    std::string text;
    std::string title;
    uint32_t style;
};

// Tests install a responder that answers boxes instead of the operator.
using MsgBoxResponder = std::function<int32_t(const MsgBoxCall&)>;
void vSetMsgBoxResponder(MsgBoxResponder responder);  // empty = real boxes

}  // namespace platform
