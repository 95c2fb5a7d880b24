// frmTest, the equipment setting dialog of test mode: the service operator
// sets the unit's automatic power-off and its exhibition display. OK checks
// the values, tells the unit both switches and, only when the unit has taken
// them, keeps every value in the application state and the settings file.
// The cephalostat side and the pre-heat values are kept, never sent.
//
// The operations are in frm_test.cpp in the order the operator meets them;
// the controls and where they stand are in frm_test_layout.cpp.
#pragma once
#include <cstdint>

#include "app/main_ops.h"
#include "ui/controls.h"
#include "ui/form.h"

class frmTest : public ui::Form, public BusyWindow {
public:
    // owner: the window the dialog stays in front of (the main window).
    explicit frmTest(QWidget* owner = nullptr);

    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void cmdOk_Click();
    void cmdCancel_Click();
    void txtPreHeat_GotFocus(int16_t Index);

    // Locks the dialog while the unit is being told (the transaction calls
    // it on the window that runs it).
    void voi_btEnabledSet(bool booEnabled) override;
    void* hWnd() override { return ui::Form::hWnd(); }

    // False while the switches are on their way to the unit.
    bool m_booCanClose = true;

    // Pre-heat rows: one per tube current 2, 4, 6, 8, 10 and 12 mA.
    static constexpr int NUM_PREHEAT = 6;

    // --- controls (frm_test_layout.cpp) ---
    ui::Frame* FrameSetting = nullptr;
    // (0) Cephalo, (1) Auto Power OFF, (2) Exhibition, (3)..(8) the pre-heat rows.
    ui::Label* lbl1[3 + NUM_PREHEAT] = {};
    ui::Frame* FrameGroup[3] = {};
    ui::OptionButton* optCefa[3] = {};       // 0 none, 1 left, 2 right
    ui::OptionButton* optAutoPower[2] = {};  // 0 OFF, 1 ON
    ui::OptionButton* optDisplay[2] = {};    // 0 OFF, 1 ON
    ui::TextBox* txtPreHeat[NUM_PREHEAT] = {};
    ui::UpDown* UpDown1[NUM_PREHEAT] = {};
    ui::CommandButton* cmdOk = nullptr;
    ui::CommandButton* cmdCancel = nullptr;

private:
    void vCreateControls();
    void vConnectHandlers();
    // Keeps spinner and box of one pre-heat row showing the same value.
    void UpDown1_Change(int16_t Index);
    void txtPreHeat_Change(int16_t Index);

    bool m_booSyncing = false;  // a row's box is being set from its spinner or back
};

// The index of the first option of the group that is on; 0 when none is.
template <size_t N>
int32_t lOptionIndex(ui::OptionButton* const (&aopt)[N]) {
    for (size_t i = 0; i < N; ++i) {
        if (aopt[i] != nullptr && aopt[i]->value()) return static_cast<int32_t>(i);
    }
    return 0;
}
