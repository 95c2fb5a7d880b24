// Tube voltage and current: the arrows, the seven-segment display, the
// patient-size presets and the default condition dialog they lead to.
#include "app/app_state.h"
#include "app/settings.h"
#include "console/frm_main.h"
#include "ui/look.h"

namespace {
constexpr int32_t VOLT_MIN = 60, VOLT_MAX = 80, VOLT_STEP = 1;
constexpr int32_t ELEC_MIN = 2, ELEC_MAX = 8, ELEC_STEP = 2;
constexpr int32_t PIC_DIGIT_0 = 12450;
constexpr int32_t PIC_SIZE[3] = {12462, 12465, 12468};
constexpr int32_t PIC_SIZE_PRESSED[3] = {12463, 12466, 12469};

std::string sGroupKey(int32_t lGroup, const char* sSuffix) {
    return "M" + std::to_string(lGroup) + sSuffix;
}
}  // namespace

void frmMain::cmdVoltUpDown_Click(int16_t Index) {
    if (Index == 0) {
        if (booTestMode() && App.g_lVolt == 0) {
            // Test mode starts from 0 kV: the first press gives the lowest
            // real exposure.
            App.g_lVolt = VOLT_MIN;
            if (App.g_lElec == 0) {
                App.g_lElec = ELEC_MIN;
                vDispValue(1);
            }
        } else {
            App.g_lVolt += VOLT_STEP;
            if (App.g_lVolt > VOLT_MAX) {
                App.g_lVolt = VOLT_MAX;
                return;
            }
        }
    } else {
        if (booTestMode() && App.g_lVolt == 0) return;
        App.g_lVolt -= VOLT_STEP;
        if (App.g_lVolt < VOLT_MIN) {
            App.g_lVolt = VOLT_MIN;
            return;
        }
    }
    vDispValue(0);
    vClearSize(false);
    if (!booTestMode()) {
        (void)booWriteSetting("Volt", std::to_string(App.g_lVolt));
        const int32_t g = lModeGroup();
        App.g_tModeCond[g].lVolt = App.g_lVolt;
        (void)booWriteSetting(sGroupKey(g, "_Volt"), std::to_string(App.g_lVolt));
    }
    vClickSound();
}

void frmMain::cmdElecUpDown_Click(int16_t Index) {
    if (Index == 1) {
        App.g_lElec -= ELEC_STEP;
        if (App.g_lElec < ELEC_MIN) {
            App.g_lElec = ELEC_MIN;
            return;
        }
    } else {
        if (App.g_lVolt == 0) {
            App.g_lVolt = VOLT_MIN;
            vDispValue(0);
        }
        App.g_lElec += ELEC_STEP;
        if (App.g_lElec > ELEC_MAX) {
            App.g_lElec = ELEC_MAX;
            return;
        }
    }
    vDispValue(1);
    vClearSize(false);
    if (!booTestMode()) {
        (void)booWriteSetting("Elec", std::to_string(App.g_lElec));
        const int32_t g = lModeGroup();
        App.g_tModeCond[g].lElec = App.g_lElec;
        (void)booWriteSetting(sGroupKey(g, "_Elec"), std::to_string(App.g_lElec));
    }
    vClickSound();
}

void frmMain::vDispValue(int32_t which) {
    const int32_t lValue = which == 0 ? App.g_lVolt : App.g_lElec;
    ui::PictureBox& tens = which == 0 ? *picVoltH : *picElecH;
    ui::PictureBox& units = which == 0 ? *picVoltL : *picElecL;
    for (ui::PictureBox* p : {&tens, &units}) {
        p->setPicture(QPixmap());
        p->setBackColor(lColorDark());
    }
    const int32_t lTens = lValue / 10;
    if (lTens > 0) vSetPicture(tens, PIC_DIGIT_0 + lTens);
    vSetPicture(units, PIC_DIGIT_0 + lValue % 10);
}

void frmMain::cmdDefVolt_Click(int16_t Index) {
    if (cmdDefVolt[Index]->tag() == "ON") return;
    for (int i = 0; i < 3; ++i) {
        vSetPicture(*cmdDefVolt[i], PIC_SIZE[i]);
        cmdDefVolt[i]->setTag(i == Index ? "ON" : "OFF");
    }
    vSetPicture(*cmdDefVolt[Index], PIC_SIZE_PRESSED[Index]);
    vSizeSelect(false);

    // The size's defaults take effect; the hand-set values stay stored.
    const tModeCond& t = App.g_tModeCond[lModeGroup()];
    App.g_lVolt = t.lVoltDef[Index];
    App.g_lElec = t.lElecDef[Index];
    vDispValue(0);
    vDispValue(1);
    vClickSound();
}

void frmMain::vClearSize(bool booRestore) {
    for (int i = 0; i < 3; ++i) {
        if (cmdDefVolt[i]->tag() != "ON") continue;
        cmdDefVolt[i]->setTag("OFF");
        vSetPicture(*cmdDefVolt[i], PIC_SIZE[i]);
    }
    vSizeSelect(booRestore);
}

void frmMain::vSizeSelect(bool booRestore) {
    const int32_t g = lModeGroup();
    tModeCond& t = App.g_tModeCond[g];
    if (booRestore) {
        if (t.lSelect < 0 || t.lSelect > 2) return;
        cmdDefVolt_Click(static_cast<int16_t>(t.lSelect));
        return;
    }
    t.lSelect = -1;
    for (int i = 0; i < 3; ++i) {
        if (cmdDefVolt[i]->tag() == "ON") {
            t.lSelect = i;
            break;
        }
    }
    (void)booWriteSetting(sGroupKey(g, "_Select"), std::to_string(t.lSelect));
}

void frmMain::cmdDefVolt_MouseDown(int16_t Index, int Button, int Shift, int32_t X, int32_t Y) {
    (void)Shift;
    (void)X;
    (void)Y;
    m_iSizeArmed = -1;
    if (Button != ui::vbRightButton) return;
    if (cmdDefVolt[Index]->tag() != "ON" || !cmdDefVolt[Index]->enabled()) return;
    // Hand the default condition dialog its subject; it is not shown yet.
    m_tSetting.m_lModePos = lModeGroup();
    m_tSetting.m_lSizePos = Index;
    m_iSizeArmed = Index;
}

void frmMain::cmdDefVolt_MouseUp(int16_t Index, int Button, int Shift, int32_t X, int32_t Y) {
    (void)Shift;
    const bool booArmed = m_iSizeArmed == Index;
    m_iSizeArmed = -1;
    if (!booArmed || Button != ui::vbRightButton) return;
    // Released over the same, still pressed and enabled size button: the
    // operator wants to edit that size's defaults.
    const ui::Image& btn = *cmdDefVolt[Index];
    const bool booOver = X >= 0 && Y >= 0 && X < btn.width() && Y < btn.height();
    if (booOver && btn.tag() == "ON" && btn.enabled()) vShowSetting();
}

void frmMain::vShowSetting() {
    vTimerEnabled(false);
    vRunSettingDialog(*this, m_tSetting);
    const int32_t g = m_tSetting.m_lModePos;
    const int32_t s = m_tSetting.m_lSizePos;
    if (g >= 0 && g <= 2 && s >= 0 && s <= 2) {
        App.g_lVolt = App.g_tModeCond[g].lVoltDef[s];
        App.g_lElec = App.g_tModeCond[g].lElecDef[s];
    }
    vDispValue(0);
    vDispValue(1);
    vTimerEnabled(true);
}
