// The default exposure condition dialog's controls and where they stand
// (twips, relative to the frame that holds them).
#include "dialogs/frm_setting.h"

namespace {
// The window: the frame with its 90 twips margin, the two buttons below it.
constexpr int32_t FORM_WIDTH = 3825;
constexpr int32_t FORM_HEIGHT = 2085;
}  // namespace

frmSetting::frmSetting(QWidget* owner) : ui::Form(owner) {
    vCreateControls();
    vConnectHandlers();
}

void frmSetting::vCreateControls() {
    setWidth(FORM_WIDTH);
    setHeight(FORM_HEIGHT);

    Frame1 = &add<ui::Frame>("Frame1", nullptr, 90, 30, 3645, 1215);
    lbl1[0] = &add<ui::Label>("lbl1", 0, Frame1, 150, 330, 1620, 255);
    txtVolt = &add<ui::TextBox>("txtVolt", Frame1, 1800, 270, 1095, 375);
    txtVolt->setMaxLength(2);
    lbl1[1] = &add<ui::Label>("lbl1", 1, Frame1, 150, 750, 1620, 255);
    txtElec = &add<ui::TextBox>("txtElec", Frame1, 1800, 690, 1095, 375);
    txtElec->setMaxLength(2);

    cmdReg = &add<ui::CommandButton>("cmdReg", nullptr, 120, 1440, 1600, 525);
    cmdCancel = &add<ui::CommandButton>("cmdCancel", nullptr, 2100, 1440, 1600, 525);
}

void frmSetting::vConnectHandlers() {
    txtVolt->onGotFocus = [this] { txtVolt_GotFocus(); };
    txtElec->onGotFocus = [this] { txtElec_GotFocus(); };
    cmdReg->onClick = [this] { cmdReg_Click(); };
    cmdCancel->onClick = [this] { cmdCancel_Click(); };
}
