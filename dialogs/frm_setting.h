// frmSetting, the default exposure condition dialog: the default tube
// voltage and current of one patient size of one mode group, the values a
// press on that size button applies. The operator confirms, the values go to
// the settings file and then into the application state.
//
// The operations are in frm_setting.cpp; the controls and where they stand
// are in frm_setting_layout.cpp.
#pragma once
#include <cstdint>
#include <string>

#include "app/app_state.h"
#include "ui/controls.h"
#include "ui/form.h"

class frmSetting : public ui::Form {
public:
    // owner: the window the dialog stays in front of (the main window).
    explicit frmSetting(QWidget* owner = nullptr);

    // Set by the caller before the dialog is shown, read back afterwards:
    // the mode group (0..2) and the patient size (0 large, 1 middle, 2 small).
    int32_t m_lModePos = 0;
    int32_t m_lSizePos = 0;

    void Form_Load() override;
    void vSetDisp();
    std::string sGetCaption() const;
    // 0 when both boxes hold valid values, -1 when the voltage is wrong, -2
    // when the voltage is right and the current wrong.
    int32_t lCheckInput();
    void cmdReg_Click();
    void cmdCancel_Click();
    void txtVolt_GotFocus();
    void txtElec_GotFocus();

    // --- controls (frm_setting_layout.cpp) ---
    ui::Frame* Frame1 = nullptr;
    ui::Label* lbl1[2] = {};  // (0) tube voltage, (1) tube current
    ui::TextBox* txtVolt = nullptr;
    ui::TextBox* txtElec = nullptr;
    ui::CommandButton* cmdReg = nullptr;
    ui::CommandButton* cmdCancel = nullptr;

private:
    void vCreateControls();
    void vConnectHandlers();
    // The record of the dialog's group, or null when the caller handed in a
    // group or size the console does not have.
    tModeCond* pModeCond() const;
};
