// The main window's controls and where they stand (twips). The operator's
// hands know these places, so they stay where they are.
#include "console/frm_main.h"

void frmMain::vCreateControls() {
    imgLogo = &add<ui::Image>("imgLogo", nullptr, 240, 120, 5000, 450);
    imgLogo->setStretch(true);

    // Exposure modes: the mode pictures and their column headings.
    FrameMode = &add<ui::Frame>("FrameMode", nullptr, 240, 600, 6000, 5000);
    lbl1[0] = &add<ui::Label>("lbl1", 0, FrameMode, 240, 90, 5500, 300);
    lbl1[1] = &add<ui::Label>("lbl1", 1, nullptr, 6600, 240, 2400, 300);
    lblMode[0] = &add<ui::Label>("lblMode", 0, FrameMode, 780, 420, 1605, 300);
    lblMode[1] = &add<ui::Label>("lblMode", 1, FrameMode, 4020, 420, 1605, 300);
    imgMode[0] = &add<ui::Image>("imgMode", 0, FrameMode, 780, 930, 1605, 1605);
    imgMode[1] = &add<ui::Image>("imgMode", 1, FrameMode, 780, 3120, 1605, 1605);
    imgMode[2] = &add<ui::Image>("imgMode", 2, FrameMode, 4020, 930, 1605, 1605);
    const char* asTag[NUM_MODES] = {"P1_A", "P1_C", "T4"};
    for (int i = 0; i < NUM_MODES; ++i) {
        imgMode[i]->setStretch(true);
        imgMode[i]->setTag(asTag[i]);
    }

    // Patient sizes: large, middle, small.
    const int32_t alSizeLeft[3] = {9330, 10320, 11310};
    for (int i = 0; i < 3; ++i) {
        cmdDefVolt[i] = &add<ui::Image>("cmdDefVolt", i, nullptr, alSizeLeft[i], 720, 735, 735);
        cmdDefVolt[i]->setStretch(true);
    }

    // Tube voltage, and the tube current 2100 twips below it.
    lblVolt[0] = &add<ui::Label>("lblVolt", 0, nullptr, 6600, 1700, 1950, 300);
    lblVolt[1] = &add<ui::Label>("lblVolt", 1, nullptr, 8700, 1700, 900, 300);
    picVoltValue = &add<ui::PictureBox>("picVoltValue", nullptr, 6600, 2000, 1950, 1500);
    picVoltH = &add<ui::PictureBox>("picVoltH", picVoltValue, 90, 90, 855, 1320);
    picVoltL = &add<ui::PictureBox>("picVoltL", picVoltValue, 1005, 90, 855, 1320);
    cmdVoltUpDown[0] = &add<ui::Button3D>("cmdVoltUpDown", 0, nullptr, 8700, 2000, 900, 690);
    cmdVoltUpDown[1] = &add<ui::Button3D>("cmdVoltUpDown", 1, nullptr, 8700, 2810, 900, 690);

    lblElec[0] = &add<ui::Label>("lblElec", 0, nullptr, 6600, 3800, 1950, 300);
    lblElec[1] = &add<ui::Label>("lblElec", 1, nullptr, 8700, 3800, 900, 300);
    picElecValue = &add<ui::PictureBox>("picElecValue", nullptr, 6600, 4100, 1950, 1500);
    picElecH = &add<ui::PictureBox>("picElecH", picElecValue, 90, 90, 855, 1320);
    picElecL = &add<ui::PictureBox>("picElecL", picElecValue, 1005, 90, 855, 1320);
    cmdElecUpDown[0] = &add<ui::Button3D>("cmdElecUpDown", 0, nullptr, 8700, 4100, 900, 690);
    cmdElecUpDown[1] = &add<ui::Button3D>("cmdElecUpDown", 1, nullptr, 8700, 4910, 900, 690);

    // READY with the start clip over it; the frame has no border of its own.
    Frame1 = &add<ui::Frame>("Frame1", nullptr, 10320, 6000, 2700, 2100);
    Frame1->setBorderStyle(0);
    cmdStart = &add<ui::Button3D>("cmdStart", Frame1, 0, 0, 2700, 2100);
    cmdStart->setOutline(false);
    Animation1 = &add<ui::AnimationArea>("Animation1", Frame1, 0, 0, 2700, 2100);
    Animation1->setVisible(false);

    cmdReset = &add<ui::CommandButton>("cmdReset", nullptr, 10320, 8400, 1290, 900);
    cmdClose = &add<ui::CommandButton>("cmdClose", nullptr, 11730, 8400, 1290, 900);
    cmdDebug = &add<ui::Button3D>("cmdDebug", nullptr, 6600, 8400, 1800, 600);
    cmdDebug->setCaption("Test Mode");
    cmdDebug->setVisible(false);

    Animation2 = &add<ui::AnimationArea>("Animation2", nullptr, 240, 6000, 6000, 2100);
    // The simulated sensor's marker, in the band between the buttons and the
    // status line that no clip, panel or dialog of the window covers.
    lblSimulator = &add<ui::Label>("lblSimulator", nullptr, 240, 9450, 14880, 600);
    lblSimulator->setAlignment(2);
    lblSimulator->setVisible(false);
    spnlStat = &add<ui::Panel3D>("spnlStat", nullptr, 240, 10200, 14880, 600);
    tmStart = &add<ui::Timer>("tmStart", nullptr, 0, 0, 0, 0);
}

void frmMain::vConnectHandlers() {
    for (int16_t i = 0; i < NUM_MODES; ++i) imgMode[i]->onClick = [this, i] { imgMode_Click(i); };
    for (int16_t i = 0; i < 2; ++i) {
        cmdVoltUpDown[i]->onClick = [this, i] { cmdVoltUpDown_Click(i); };
        cmdElecUpDown[i]->onClick = [this, i] { cmdElecUpDown_Click(i); };
    }
    for (int16_t i = 0; i < 3; ++i) {
        cmdDefVolt[i]->onClick = [this, i] { cmdDefVolt_Click(i); };
        cmdDefVolt[i]->onMouseDown = [this, i](int b, int s, int32_t x, int32_t y) {
            cmdDefVolt_MouseDown(i, b, s, x, y);
        };
        cmdDefVolt[i]->onMouseUp = [this, i](int b, int s, int32_t x, int32_t y) {
            cmdDefVolt_MouseUp(i, b, s, x, y);
        };
    }
    cmdStart->onClick = [this] { cmdStart_Pressed(); };
    cmdReset->onClick = [this] { cmdReset_Click(); };
    cmdClose->onClick = [this] { cmdClose_Click(); };
    cmdDebug->onClick = [this] { cmdDebug_Click(); };
    tmStart->onTimer = [this] { tmStart_Timer(); };
}
