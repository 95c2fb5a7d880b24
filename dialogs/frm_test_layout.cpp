// The equipment setting dialog's controls and where they stand (twips,
// relative to the frame that holds them).
#include "dialogs/frm_test.h"

namespace {
// The window: the setting frame with a 300 twips margin, OK and Cancel below it.
constexpr int32_t FORM_WIDTH = 5985;
constexpr int32_t FORM_HEIGHT = 9165;

constexpr int32_t LABEL_LEFT = 480;
constexpr int32_t LABEL_WIDTH = 2310;
constexpr int32_t LABEL_HEIGHT = 255;
constexpr int32_t GROUP_LEFT = 2910;
constexpr int32_t GROUP_WIDTH = 2175;
constexpr int32_t OPTION_LEFT = 240;
constexpr int32_t OPTION_WIDTH = 1800;
constexpr int32_t OPTION_HEIGHT = 300;

// Pre-heat rows, 510 twips apart.
constexpr int32_t ROW_STEP = 510;
constexpr int32_t ROW_LABEL_TOP = 4530;
constexpr int32_t ROW_BOX_TOP = 4500;
constexpr int32_t BOX_LEFT = 3120;
constexpr int32_t BOX_WIDTH = 645;
constexpr int32_t BOX_HEIGHT = 375;
constexpr int32_t SPIN_LEFT = 3765;
constexpr int32_t SPIN_WIDTH = 255;
}  // namespace

frmTest::frmTest(QWidget* owner) : ui::Form(owner) {
    vCreateControls();
    vConnectHandlers();
}

void frmTest::vCreateControls() {
    setCaption("Equipment Setting");
    setWidth(FORM_WIDTH);
    setHeight(FORM_HEIGHT);

    FrameSetting = &add<ui::Frame>("FrameSetting", nullptr, 300, 300, 5385, 7725);
    FrameSetting->setCaption("Equipment Setting");

    // The cephalostat side: "Right" on top, "None" at the bottom.
    lbl1[0] = &add<ui::Label>("lbl1", 0, FrameSetting, LABEL_LEFT, 480, LABEL_WIDTH, LABEL_HEIGHT);
    lbl1[0]->setCaption("Cephalo");
    FrameGroup[0] = &add<ui::Frame>("FrameGroup", 0, FrameSetting, GROUP_LEFT, 330, GROUP_WIDTH, 1440);
    const char* asCefa[3] = {"None", "Left", "Right"};
    const int32_t alCefaTop[3] = {1020, 600, 180};
    for (int i = 2; i >= 0; --i) {
        optCefa[i] = &add<ui::OptionButton>("optCefa", i, FrameGroup[0], OPTION_LEFT, alCefaTop[i], OPTION_WIDTH,
                                            OPTION_HEIGHT);
        optCefa[i]->setCaption(asCefa[i]);
    }

    // The two switches of the unit, each "ON" above "OFF".
    ui::OptionButton** aaSwitch[2] = {optAutoPower, optDisplay};
    const char* asSwitchName[2] = {"optAutoPower", "optDisplay"};
    const char* asSwitchLabel[2] = {"Auto Power OFF", "Exhibition"};
    const int32_t alLabelTop[2] = {2070, 3300};
    const int32_t alGroupTop[2] = {1890, 3090};
    for (int g = 0; g < 2; ++g) {
        lbl1[g + 1] = &add<ui::Label>("lbl1", g + 1, FrameSetting, LABEL_LEFT, alLabelTop[g], LABEL_WIDTH, LABEL_HEIGHT);
        lbl1[g + 1]->setCaption(asSwitchLabel[g]);
        FrameGroup[g + 1] =
            &add<ui::Frame>("FrameGroup", g + 1, FrameSetting, GROUP_LEFT, alGroupTop[g], GROUP_WIDTH, 1020);
        aaSwitch[g][1] = &add<ui::OptionButton>(asSwitchName[g], 1, FrameGroup[g + 1], OPTION_LEFT, 180, OPTION_WIDTH,
                                                OPTION_HEIGHT);
        aaSwitch[g][1]->setCaption("ON");
        aaSwitch[g][0] = &add<ui::OptionButton>(asSwitchName[g], 0, FrameGroup[g + 1], OPTION_LEFT, 600, OPTION_WIDTH,
                                                OPTION_HEIGHT);
        aaSwitch[g][0]->setCaption("OFF");
    }

    // Pre-heat: the current is added to each caption when the dialog loads.
    for (int i = 0; i < NUM_PREHEAT; ++i) {
        const int32_t lRow = ROW_STEP * i;
        lbl1[i + 3] = &add<ui::Label>("lbl1", i + 3, FrameSetting, LABEL_LEFT, ROW_LABEL_TOP + lRow, LABEL_WIDTH,
                                      LABEL_HEIGHT);
        lbl1[i + 3]->setCaption("Pre-heat");
        txtPreHeat[i] =
            &add<ui::TextBox>("txtPreHeat", i, FrameSetting, BOX_LEFT, ROW_BOX_TOP + lRow, BOX_WIDTH, BOX_HEIGHT);
        txtPreHeat[i]->setMaxLength(3);
        UpDown1[i] =
            &add<ui::UpDown>("UpDown1", i, FrameSetting, SPIN_LEFT, ROW_BOX_TOP + lRow, SPIN_WIDTH, BOX_HEIGHT);
        UpDown1[i]->setMin(0);
        UpDown1[i]->setMax(255);
        UpDown1[i]->setIncrement(1);
    }

    cmdOk = &add<ui::CommandButton>("cmdOk", nullptr, 2010, 8190, 1800, 675);
    cmdOk->setCaption("OK");
    cmdCancel = &add<ui::CommandButton>("cmdCancel", nullptr, 3900, 8190, 1800, 675);
    cmdCancel->setCaption("Cancel");
}

void frmTest::vConnectHandlers() {
    for (int16_t i = 0; i < NUM_PREHEAT; ++i) {
        txtPreHeat[i]->onGotFocus = [this, i] { txtPreHeat_GotFocus(i); };
        txtPreHeat[i]->onChange = [this, i] { txtPreHeat_Change(i); };
        UpDown1[i]->onChange = [this, i] { UpDown1_Change(i); };
    }
    cmdOk->onClick = [this] { cmdOk_Click(); };
    cmdCancel->onClick = [this] { cmdCancel_Click(); };
}
