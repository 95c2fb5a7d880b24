// How the main window opens the two service dialogs. The dialogs register
// their runners here; until one is registered, its opening action shows
// nothing and the main window goes on as if the dialog had been cancelled.
#pragma once
#include <cstdint>
#include <functional>

namespace ui {
class Form;
}

// The subject of the default exposure condition dialog: the group and the
// patient size whose defaults it edits. The main window fills it when the
// operator presses the right button on the pressed size button and reads it
// back when the dialog has closed.
struct tSettingSubject {
    int32_t m_lModePos = 0;
    int32_t m_lSizePos = 0;
};

// Shows the equipment setting dialog modally over the owner.
using TestDialogRunner = std::function<void(ui::Form& owner)>;
// Shows the default exposure condition dialog modally over the owner.
using SettingDialogRunner = std::function<void(ui::Form& owner, tSettingSubject& subject)>;

void vRegisterTestDialog(TestDialogRunner runner);
void vRegisterSettingDialog(SettingDialogRunner runner);

void vRunTestDialog(ui::Form& owner);
void vRunSettingDialog(ui::Form& owner, tSettingSubject& subject);
