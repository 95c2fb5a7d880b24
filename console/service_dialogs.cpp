#include "console/service_dialogs.h"

namespace {
TestDialogRunner s_test;
SettingDialogRunner s_setting;
}  // namespace

void vRegisterTestDialog(TestDialogRunner runner) { s_test = std::move(runner); }
void vRegisterSettingDialog(SettingDialogRunner runner) { s_setting = std::move(runner); }

void vRunTestDialog(ui::Form& owner) {
    if (s_test) s_test(owner);
}

void vRunSettingDialog(ui::Form& owner, tSettingSubject& subject) {
    if (s_setting) s_setting(owner, subject);
}
