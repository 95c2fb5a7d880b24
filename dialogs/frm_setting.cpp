// The default exposure condition dialog's operations: it opens on the
// group and size the main window handed it, checks what the operator typed,
// asks for confirmation and stores the two defaults.
#include "dialogs/frm_setting.h"

#include "app/messages.h"
#include "app/numeric_text.h"
#include "app/settings.h"
#include "ui/look.h"

namespace {
constexpr int32_t VOLT_MIN = 60;
constexpr int32_t VOLT_MAX = 80;
constexpr int32_t ELEC_MIN = 2;
constexpr int32_t ELEC_MAX = 8;

// Names of the mode groups and of the patient sizes in the string table.
constexpr int32_t GROUP_NAME_TEXT = 12438;  // + group
constexpr int32_t SIZE_NAME_TEXT = 12429;   // + size

bool booInRange(int32_t lPos) { return lPos >= 0 && lPos <= 2; }

bool booVoltValid(const std::string& sText) {
    int32_t v = 0;
    return booTextToLong(sText, v) && v >= VOLT_MIN && v <= VOLT_MAX;
}

// The unit takes the tube current in steps of 2 mA.
bool booElecValid(const std::string& sText) {
    int32_t e = 0;
    return booTextToLong(sText, e) && e >= ELEC_MIN && e <= ELEC_MAX && e % 2 == 0;
}

std::string sDefKey(const char* sSuffix, int32_t g, int32_t s) {
    return "M" + std::to_string(g) + sSuffix + std::to_string(s);
}
}  // namespace

tModeCond* frmSetting::pModeCond() const {
    if (!booInRange(m_lModePos) || !booInRange(m_lSizePos)) return nullptr;
    return &App.g_tModeCond[m_lModePos];
}

void frmSetting::Form_Load() {
    vCenterForm(*this);
    vSetDisp();
}

std::string frmSetting::sGetCaption() const {
    return sGetResText(12432) + " - 【" + sGetResText(GROUP_NAME_TEXT + m_lModePos) + " (" +
           sGetResText(SIZE_NAME_TEXT + m_lSizePos) + ")】";
}

void frmSetting::vSetDisp() {
    setCaption(sGetCaption());
    vSetBackColor(*this);
    vSetForeColor(*this);
    if (const tModeCond* t = pModeCond()) {
        txtVolt->setText(std::to_string(t->lVoltDef[m_lSizePos]));
        txtElec->setText(std::to_string(t->lElecDef[m_lSizePos]));
    }
    lbl1[0]->setCaption(sGetResText(12402) + " : ");
    lbl1[1]->setCaption(sGetResText(12404) + " : ");
    cmdReg->setCaption(sGetResText(12432));
    cmdCancel->setCaption(sGetResText(12437));
}

int32_t frmSetting::lCheckInput() {
    int32_t lRet = -1;
    if (booVoltValid(txtVolt->text())) {
        lRet = -2;
        if (booElecValid(txtElec->text())) lRet = 0;
    }
    if (lRet != 0) {
        // Only the first wrong box is named: the voltage before the current.
        vMsgInfo(hWnd(), sGetResText(12433));
        if (lRet == -1) {
            txtVolt->setFocus();
        } else {
            txtElec->setFocus();
        }
    }
    return lRet;
}

void frmSetting::cmdReg_Click() {
    if (lCheckInput() != 0) return;
    if (lMsgYesNo(hWnd(), sGetResText(12434)) != 6) return;

    int32_t v = 0;
    int32_t e = 0;
    (void)booTextToLong(txtVolt->text(), v);
    (void)booTextToLong(txtElec->text(), e);
    const int32_t g = m_lModePos;
    const int32_t s = m_lSizePos;
    tModeCond* t = pModeCond();
    // The file first, the voltage before the current; the records in memory
    // change only when both keys are stored, and a failed write leaves them
    // as they were for the operator to try again.
    if (t == nullptr || booWriteSetting(sDefKey("_VoltDef", g, s), std::to_string(v)) ||
        booWriteSetting(sDefKey("_ElecDef", g, s), std::to_string(e))) {
        vMsgInfo(hWnd(), sGetResText(12436));
        return;
    }
    t->lVoltDef[s] = v;
    t->lElecDef[s] = e;
    vMsgInfo(hWnd(), sGetResText(12435));
    Unload(ui::vbFormCode);
}

void frmSetting::cmdCancel_Click() { Unload(ui::vbFormCode); }

void frmSetting::txtVolt_GotFocus() { vSelectAllText(*txtVolt); }

void frmSetting::txtElec_GotFocus() { vSelectAllText(*txtElec); }
