// How the main window shows the two service dialogs: each runner builds the
// dialog over the owner, waits while it is open (the main window's timers go
// on ticking) and removes it when it has closed. The program hands both to
// the console's registration (console/service_dialogs.h).
#pragma once
#include "console/service_dialogs.h"

namespace ui {
class Form;
}

// The equipment setting dialog (test mode's "Test Mode" button).
void vRunFrmTest(ui::Form& owner);
// The default exposure condition dialog for the subject's group and size;
// the subject is read back from the dialog when it has closed.
void vRunFrmSetting(ui::Form& owner, tSettingSubject& subject);
