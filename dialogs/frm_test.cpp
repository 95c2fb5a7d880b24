// The equipment setting dialog's operations, in the order the service
// operator meets them: the dialog opens, the values are edited, OK tells the
// unit and keeps the values, or Cancel leaves everything as it was.
#include "dialogs/frm_test.h"

#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/numeric_text.h"
#include "app/settings.h"
#include "link/commands.h"
#include "ui/look.h"

namespace {
constexpr int32_t PREHEAT_MIN = 0;
constexpr int32_t PREHEAT_MAX = 255;

// The tube current of pre-heat row i: 2, 4, ... 12 mA.
int32_t lRowCurrent(int i) { return 2 * i + 2; }

// A pre-heat box holds a number that converts to 0..255.
bool booPreHeatValue(const ui::TextBox& txt, int32_t& lValue) {
    return booTextToLong(txt.text(), lValue) && lValue >= PREHEAT_MIN && lValue <= PREHEAT_MAX;
}
}  // namespace

void frmTest::Form_Load() {
    m_booCanClose = true;
    vCenterForm(*this);
    vSetBackColor(*this);
    vSetForeColor(*this);
    vShrinkButtons(*this, 2);

    // The values in effect.
    if (App.g_lCephPlace >= 0 && App.g_lCephPlace <= 2) optCefa[App.g_lCephPlace]->setValue(true);
    if (App.g_lAutoPower >= 0 && App.g_lAutoPower <= 1) optAutoPower[App.g_lAutoPower]->setValue(true);
    if (App.g_lDisplayMode >= 0 && App.g_lDisplayMode <= 1) optDisplay[App.g_lDisplayMode]->setValue(true);

    for (int i = 0; i < NUM_PREHEAT; ++i) {
        // "Pre-heat  2mA" ... "Pre-heat 12mA": the current right-aligned in two places.
        char sCurrent[8];
        std::snprintf(sCurrent, sizeof sCurrent, " %2dmA", static_cast<int>(lRowCurrent(i)));
        lbl1[i + 3]->setCaption(lbl1[i + 3]->caption().value_or("") + sCurrent);
        UpDown1[i]->setValue(App.g_lElecPP[i]);
        txtPreHeat[i]->setText(std::to_string(UpDown1[i]->value()));
    }

    // This unit has no cephalostat to choose: its row shows no choice.
    lbl1[0]->setVisible(false);
    for (auto* p : optCefa) p->setValue(false);

    // The pre-heat values are kept as loaded, out of the operator's reach.
    for (int i = 0; i < NUM_PREHEAT; ++i) {
        lbl1[i + 3]->setVisible(false);
        txtPreHeat[i]->setVisible(false);
        UpDown1[i]->setVisible(false);
    }
}

void frmTest::UpDown1_Change(int16_t Index) {
    if (m_booSyncing) return;
    m_booSyncing = true;
    txtPreHeat[Index]->setText(std::to_string(UpDown1[Index]->value()));
    m_booSyncing = false;
}

void frmTest::txtPreHeat_Change(int16_t Index) {
    if (m_booSyncing) return;
    // The spinner follows a value the operator types as soon as it is one
    // it can hold; the box keeps exactly what was typed.
    int32_t lValue = 0;
    if (!booPreHeatValue(*txtPreHeat[Index], lValue)) return;
    m_booSyncing = true;
    UpDown1[Index]->setValue(lValue);
    m_booSyncing = false;
}

void frmTest::txtPreHeat_GotFocus(int16_t Index) { vSelectAllText(*txtPreHeat[Index]); }

void frmTest::voi_btEnabledSet(bool booEnabled) {
    FrameSetting->setEnabled(booEnabled);
    cmdOk->setEnabled(booEnabled);
    cmdCancel->setEnabled(booEnabled);
    // The hourglass is the main window's, so that it is always taken back.
    if (booHasMainWindow()) mainWindow().vSetBusyPointer(!booEnabled);
    Refresh();
}

void frmTest::cmdOk_Click() {
    int32_t alPreHeat[NUM_PREHEAT] = {};
    for (int i = 0; i < NUM_PREHEAT; ++i) {
        if (!booPreHeatValue(*txtPreHeat[i], alPreHeat[i])) {
            txtPreHeat[i]->setFocus();
            vMsgInfo(hWnd(), sGetResText(11464));
            return;
        }
    }
    const int32_t lCephPlace = lOptionIndex(optCefa);
    const int32_t lAutoPower = lOptionIndex(optAutoPower);
    const int32_t lDisplayMode = lOptionIndex(optDisplay);

    // Nobody may close the dialog while the unit is being told.
    m_booCanClose = false;
    voi_btEnabledSet(false);
    const int32_t lRet = lSendEquipSetting(lCephPlace, lAutoPower, lDisplayMode, alPreHeat, *this);
    if (lRet != 0) vMsgInfo(hWnd(), sGetResText(11463));
    m_booCanClose = true;
    voi_btEnabledSet(true);
    // The unit did not take the switches: keep nothing, and leave the
    // operator's choices on screen for another try.
    if (lRet != 0) return;

    // The unit took them: they are the values in effect from now on.
    // A write that fails is not reported; the values stay in effect.
    App.g_lCephPlace = lCephPlace;
    (void)booWriteSetting("CephPlace", std::to_string(lCephPlace));
    App.g_lAutoPower = lAutoPower;
    (void)booWriteSetting("AutoPower", std::to_string(lAutoPower));
    App.g_lDisplayMode = lDisplayMode;
    (void)booWriteSetting("DisplayMode", std::to_string(lDisplayMode));
    for (int i = 0; i < NUM_PREHEAT; ++i) {
        App.g_lElecPP[i] = alPreHeat[i];
        (void)booWriteSetting("ElecPP" + std::to_string(lRowCurrent(i)), std::to_string(alPreHeat[i]));
    }
    Unload(ui::vbFormCode);
}

void frmTest::cmdCancel_Click() { Unload(ui::vbFormCode); }

void frmTest::Form_QueryUnload(int& Cancel, int UnloadMode) {
    (void)UnloadMode;
    // Whatever asks: the dialog stays while the switches are in transit.
    if (!m_booCanClose) Cancel = 1;
}
