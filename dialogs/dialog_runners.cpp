#include "dialogs/dialog_runners.h"

#include "dialogs/frm_setting.h"
#include "dialogs/frm_test.h"

void vRunFrmTest(ui::Form& owner) {
    frmTest frm(&owner);
    frm.Show(true);
}

void vRunFrmSetting(ui::Form& owner, tSettingSubject& subject) {
    frmSetting frm(&owner);
    frm.m_lModePos = subject.m_lModePos;
    frm.m_lSizePos = subject.m_lSizePos;
    frm.Show(true);
    subject.m_lModePos = frm.m_lModePos;
    subject.m_lSizePos = frm.m_lSizePos;
}
