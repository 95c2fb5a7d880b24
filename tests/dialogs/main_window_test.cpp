// Both dialogs opened the way the operator opens them from the main window:
// test mode's "Test Mode" button, and a right click on the pressed size
// button; and what the main window does with the result.
#include <QApplication>
#include <QImage>
#include <QKeyEvent>

#include "app/app_state.h"
#include "dialogs/dialog_runners.h"
#include "dialogs/frm_setting.h"
#include "dialogs/frm_test.h"
#include "tests/dialogs/dialog_fixture.h"
#include "ui/look.h"

namespace {

bool booShowsPicture(const ui::Control& c, int32_t lNo) {
    const QPixmap shown = c.picture();
    const QPixmap want = pLoadPicture(lNo);
    if (shown.isNull() || want.isNull()) return false;
    return shown.toImage().convertToFormat(QImage::Format_ARGB32) ==
           want.toImage().convertToFormat(QImage::Format_ARGB32);
}

class MainWindowDialogs : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        vRegisterTestDialog(vRunFrmTest);
        vRegisterSettingDialog(vRunFrmSetting);
        // The polling timer stays on, but only the test decides what runs.
        main_->tmStart->setInterval(3600 * 1000);
    }
    void TearDown() override {
        vRegisterTestDialog(nullptr);
        vRegisterSettingDialog(nullptr);
        DialogTest::TearDown();
    }
    // A right press and release over the size button.
    void vRightClick(int16_t i) {
        main_->cmdDefVolt[i]->fireMouse(true, ui::vbRightButton, 0, 100, 100);
        main_->cmdDefVolt[i]->fireMouse(false, ui::vbRightButton, 0, 100, 100);
    }
    // kV and mA as the main window's digits show them.
    void vExpectShown(int32_t lVolt, int32_t lElec) {
        EXPECT_TRUE(booShowsPicture(*main_->picVoltH, 12450 + lVolt / 10));
        EXPECT_TRUE(booShowsPicture(*main_->picVoltL, 12450 + lVolt % 10));
        EXPECT_TRUE(booShowsPicture(*main_->picElecL, 12450 + lElec % 10));
    }
};

TEST_F(MainWindowDialogs, TestModeButtonOpensTheEquipmentDialogWhileThePollingGoesOn) {
    main_->keyDown('J', ui::vbCtrlMask | ui::vbAltMask);
    ASSERT_TRUE(main_->cmdDebug->visible());
    ASSERT_TRUE(main_->booTimerEnabled());
    dlgfake::unit().sent.clear();
    bool booSeen = false;
    bool booTimerDuring = false;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* pParent = nullptr;
    auto pLeftOpen = pDuringDialog<frmTest>([&](frmTest& d) {
        booSeen = true;
        booTimerDuring = main_->booTimerEnabled();
        modality = d.windowModality();
        pParent = d.parentWidget();
        d.optAutoPower[1]->setValue(true);
        d.optDisplay[0]->setValue(true);
        d.cmdOk->click();
    });
    ASSERT_TRUE(main_->cmdDebug->click());
    EXPECT_TRUE(booSeen);
    EXPECT_FALSE(*pLeftOpen);
    EXPECT_TRUE(booTimerDuring);
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_EQ(pParent, main_.get());
    EXPECT_EQ(dlgfake::unit().sent, (std::vector<std::string>{"ap1", "sp0"}));
    EXPECT_EQ(sIniValue("AutoPower"), "1");
    EXPECT_EQ(sIniValue("DisplayMode"), "0");
    EXPECT_TRUE(main_->booTimerEnabled());
}

TEST_F(MainWindowDialogs, OneCtrlAltJFromTheKeyboardSwitchesTestModeOnOnce) {
    // The key as the keyboard delivers it, to the control that has the
    // focus; switching test mode on locks that control while the unit is
    // told, which takes the focus away from it.
    main_->f.m_booActivated = true;  // no connection: only the key goes to the unit
    main_->Show(false);
    QApplication::setActiveWindow(main_.get());
    main_->cmdReset->setFocus();
    if (!main_->cmdReset->hasFocus()) GTEST_SKIP() << "this platform gives no keyboard focus";
    dlgfake::unit().sent.clear();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_J, Qt::ControlModifier | Qt::AltModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &key);
    EXPECT_EQ(dlgfake::unit().sent, (std::vector<std::string>{"t1"}));
    EXPECT_TRUE(main_->cmdDebug->visible());
    main_->Hide();
}

TEST_F(MainWindowDialogs, AFailedEquipmentSettingLeavesTheMainWindowOpen) {
    main_->keyDown('J', ui::vbCtrlMask | ui::vbAltMask);
    dlgfake::unit().replies["ap0"] = dlgfake::Reply::Silent;
    bool booStillOpen = false;
    auto pLeftOpen = pDuringDialog<frmTest>([&](frmTest& d) {
        d.cmdOk->click();
        booStillOpen = d.isLoaded();
        d.cmdCancel->click();
    });
    ASSERT_TRUE(main_->cmdDebug->click());
    EXPECT_TRUE(booStillOpen);
    EXPECT_FALSE(*pLeftOpen);
    EXPECT_EQ(boxes_.size(), 2u);
    EXPECT_TRUE(main_->isLoaded());
    EXPECT_EQ(sIniValue("AutoPower"), "0");
}

TEST_F(MainWindowDialogs, CancelledDefaultsDialogStillAppliesThatSizesDefaults) {
    main_->cmdDefVolt_Click(1);  // middle: 72 kV, 6 mA in group 0
    App.g_lVolt = 63;            // the values in effect moved on since
    App.g_lElec = 2;
    std::string sCaption;
    std::string sVolt;
    bool booTimerDuring = true;
    auto pLeftOpen = pDuringDialog<frmSetting>([&](frmSetting& d) {
        sCaption = d.caption();
        sVolt = d.txtVolt->text();
        booTimerDuring = main_->booTimerEnabled();
        d.txtVolt->setText("77");
        d.cmdCancel->click();
    });
    vRightClick(1);
    EXPECT_FALSE(*pLeftOpen);
    EXPECT_EQ(sCaption, "Setting - 【Panorama 10 Sec. Adult (Middle)】");
    EXPECT_EQ(sVolt, "72");
    EXPECT_FALSE(booTimerDuring);
    EXPECT_TRUE(main_->booTimerEnabled());
    EXPECT_EQ(App.g_lVolt, 72);
    EXPECT_EQ(App.g_lElec, 6);
    vExpectShown(72, 6);
    EXPECT_EQ(sIniValue("M0_VoltDef1"), "72");
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainWindowDialogs, RegisteredDefaultsTakeEffectAtOnceAndAtTheNextPress) {
    main_->imgMode_Click(2);     // TMJ: group 2
    main_->cmdDefVolt_Click(2);  // small: 64 kV, 4 mA
    auto pLeftOpen = pDuringDialog<frmSetting>([&](frmSetting& d) {
        d.txtVolt->setText("78");
        d.txtElec->setText("8");
        d.cmdReg->click();
    });
    vRightClick(2);
    EXPECT_FALSE(*pLeftOpen);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Setting value will be changed. Is it OK?", "Setting was saved."}));
    EXPECT_EQ(App.g_lVolt, 78);
    EXPECT_EQ(App.g_lElec, 8);
    vExpectShown(78, 8);
    EXPECT_EQ(sIniValue("M2_VoltDef2"), "78");
    EXPECT_EQ(sIniValue("M2_ElecDef2"), "8");
    // Another size, then this one again: the new defaults.
    main_->cmdDefVolt_Click(0);
    EXPECT_EQ(App.g_lVolt, 74);
    main_->cmdDefVolt_Click(2);
    EXPECT_EQ(App.g_lVolt, 78);
    EXPECT_EQ(App.g_lElec, 8);
}

TEST_F(MainWindowDialogs, DefaultsDialogClosedFromItsTitleBarAppliesTheDefaultsToo) {
    main_->cmdDefVolt_Click(0);
    App.g_lVolt = 61;
    auto pLeftOpen = pDuringDialog<frmSetting>([&](frmSetting& d) { d.close(); });
    vRightClick(0);
    EXPECT_FALSE(*pLeftOpen);
    EXPECT_EQ(App.g_lVolt, 76);
    EXPECT_EQ(App.g_lElec, 8);
}

}  // namespace
