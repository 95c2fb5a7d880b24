// The default exposure condition dialog on real widgets: its caption and
// boxes for each group and size in both languages, every validation
// boundary, the confirmation, and the settings file after each outcome.
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "app/app_state.h"
#include "dialogs/frm_setting.h"
#include "platform/atomic_file.h"
#include "resources/string_table.h"
#include "tests/dialogs/dialog_fixture.h"
#include "ui/look.h"
#include "ui/twips.h"

namespace {

class FrmSettingTest : public DialogTest {
protected:
    void TearDown() override {
        platform::vSetReplaceHook(nullptr);
        chmod(sIniPath().c_str(), 0644);
        dlg_.reset();
        DialogTest::TearDown();
    }
    frmSetting& load(int32_t g, int32_t s) {
        dlg_ = std::make_unique<frmSetting>(main_.get());
        dlg_->m_lModePos = g;
        dlg_->m_lSizePos = s;
        dlg_->Load();
        return *dlg_;
    }
    std::unique_ptr<frmSetting> dlg_;
};

struct CaptionCase {
    int lang;  // 1 English, 2 Japanese
    int32_t g, s;
    const char* caption;
    const char* volt;
    const char* elec;
};

class FrmSettingCaption : public FrmSettingTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(FrmSettingCaption, NamesItsGroupAndSizeAndShowsTheirDefaults) {
    const CaptionCase c = GetParam();
    vSetResLanguage(c.lang);
    frmSetting& d = load(c.g, c.s);
    EXPECT_EQ(d.caption(), c.caption);
    EXPECT_EQ(d.sGetCaption(), c.caption);
    EXPECT_EQ(d.txtVolt->text(), c.volt);
    EXPECT_EQ(d.txtElec->text(), c.elec);
    if (c.lang == 1) {
        EXPECT_EQ(d.lbl1[0]->caption(), "Tube voltage : ");
        EXPECT_EQ(d.lbl1[1]->caption(), "Tube current  : ");
        EXPECT_EQ(d.cmdReg->caption(), "Setting");
        EXPECT_EQ(d.cmdCancel->caption(), "Cancel");
    } else {
        EXPECT_EQ(d.lbl1[0]->caption(), "管電圧 : ");
        EXPECT_EQ(d.lbl1[1]->caption(), "管電流 : ");
        EXPECT_EQ(d.cmdReg->caption(), "設定");
        EXPECT_EQ(d.cmdCancel->caption(), "キャンセル");
    }
}

INSTANTIATE_TEST_SUITE_P(
    GroupsAndSizes, FrmSettingCaption,
    ::testing::Values(CaptionCase{1, 0, 0, "Setting - 【Panorama 10 Sec. Adult (Large)】", "76", "8"},
                      CaptionCase{1, 0, 1, "Setting - 【Panorama 10 Sec. Adult (Middle)】", "72", "6"},
                      CaptionCase{1, 0, 2, "Setting - 【Panorama 10 Sec. Adult (Small)】", "66", "4"},
                      CaptionCase{1, 1, 0, "Setting - 【Panorama 10 Sec. Child (Large)】", "70", "6"},
                      CaptionCase{1, 1, 2, "Setting - 【Panorama 10 Sec. Child (Small)】", "62", "2"},
                      CaptionCase{1, 2, 1, "Setting - 【TMJ Lateral (Middle)】", "69", "6"},
                      CaptionCase{1, 2, 2, "Setting - 【TMJ Lateral (Small)】", "64", "4"},
                      CaptionCase{2, 0, 0, "設定 - 【パノラマ 10秒 成人 (大)】", "76", "8"},
                      CaptionCase{2, 1, 1, "設定 - 【パノラマ 10秒 小児 (中)】", "66", "4"},
                      CaptionCase{2, 2, 2, "設定 - 【顎関節 側面 (小)】", "64", "4"}));

TEST_F(FrmSettingTest, ControlsStandWhereTheOperatorKnowsThemWithTheConsolesLook) {
    frmSetting& d = load(0, 0);
    EXPECT_EQ(d.backColor(), lColorLight());
    EXPECT_EQ(d.foreColor(), lColorDark());
    for (ui::Control* c : {static_cast<ui::Control*>(d.Frame1), static_cast<ui::Control*>(d.lbl1[0]),
                           static_cast<ui::Control*>(d.lbl1[1]), static_cast<ui::Control*>(d.cmdReg),
                           static_cast<ui::Control*>(d.cmdCancel)}) {
        EXPECT_EQ(c->backColor(), lColorLight()) << c->name();
        EXPECT_EQ(c->foreColor(), lColorDark()) << c->name();
    }
    EXPECT_FALSE(d.txtVolt->backColor().has_value());
    EXPECT_EQ(d.txtVolt->maxLength(), 2);
    EXPECT_EQ(d.txtElec->maxLength(), 2);
    EXPECT_EQ(d.txtVolt->container(), d.Frame1);
    EXPECT_EQ(d.txtVolt->left(), 1800);
    EXPECT_EQ(d.txtVolt->top(), 270);
    EXPECT_EQ(d.txtElec->top(), 690);
    EXPECT_EQ(d.lbl1[1]->top(), 750);
    // These buttons keep their full size.
    EXPECT_EQ(d.cmdReg->left(), 120);
    EXPECT_EQ(d.cmdReg->width(), 1600);
    EXPECT_EQ(d.cmdReg->height(), 525);
    EXPECT_EQ(d.cmdCancel->left(), 2100);
    EXPECT_NEAR(d.left(), (ui::lScreenWidth() - d.width()) / 2, 15);
    EXPECT_NEAR(d.top(), (ui::lScreenHeight() - d.height()) / 2, 15);
}

struct InputCase {
    const char* volt;
    const char* elec;
    int32_t lResult;
};

class FrmSettingInput : public FrmSettingTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(FrmSettingInput, ChecksVoltageThenCurrentAndPointsAtTheWrongBox) {
    const InputCase c = GetParam();
    frmSetting& d = load(1, 1);
    d.Show(false);
    QApplication::setActiveWindow(&d);
    d.txtVolt->setText(c.volt);
    d.txtElec->setText(c.elec);
    d.cmdReg->setFocus();
    EXPECT_EQ(d.lCheckInput(), c.lResult);
    if (c.lResult == 0) {
        EXPECT_TRUE(boxes_.empty());
        return;
    }
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Input value is incorrect."}));
    EXPECT_EQ(boxes_[0].hOwner, d.hWnd());
    if (!d.cmdReg->hasFocus() && !d.txtVolt->hasFocus() && !d.txtElec->hasFocus())
        GTEST_SKIP() << "this platform gives no keyboard focus";
    ui::TextBox* pWrong = c.lResult == -1 ? d.txtVolt : d.txtElec;
    EXPECT_TRUE(pWrong->hasFocus());
    EXPECT_EQ(pWrong->selText(), pWrong->text());
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, FrmSettingInput,
    ::testing::Values(InputCase{"60", "2", 0}, InputCase{"80", "8", 0}, InputCase{"70", "4", 0},
                      InputCase{"70", "6", 0}, InputCase{"59", "2", -1}, InputCase{"81", "2", -1},
                      InputCase{"", "4", -1}, InputCase{"ab", "4", -1}, InputCase{".5", "4", -1},
                      InputCase{"-1", "4", -1},
                      InputCase{"ab", "3", -1},  // both wrong: only the voltage is named
                      InputCase{"70", "3", -2}, InputCase{"70", "5", -2}, InputCase{"70", "7", -2},
                      InputCase{"70", "0", -2}, InputCase{"70", "1", -2}, InputCase{"70", "10", -2},
                      InputCase{"70", "", -2}, InputCase{"70", "x", -2}, InputCase{"70", "-2", -2}));

TEST_F(FrmSettingTest, WrongInputAsksNothingAndWritesNothing) {
    frmSetting& d = load(0, 2);
    const std::string sIniBefore = sIniText();
    d.txtElec->setText("3");
    ASSERT_TRUE(d.cmdReg->click());
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Input value is incorrect."}));
    EXPECT_EQ(sIniText(), sIniBefore);
    EXPECT_TRUE(d.isLoaded());
}

TEST_F(FrmSettingTest, NoToTheQuestionWritesNothing) {
    lBoxAnswer_ = platform::IDNO;
    frmSetting& d = load(2, 0);
    const std::string sIniBefore = sIniText();
    d.txtVolt->setText("61");
    d.txtElec->setText("2");
    d.cmdReg_Click();
    ASSERT_EQ(boxTexts(), (std::vector<std::string>{"Setting value will be changed. Is it OK?"}));
    EXPECT_EQ(boxes_[0].style, platform::MB_YESNO_QUESTION_DEFBUTTON2);
    EXPECT_EQ(sIniText(), sIniBefore);
    EXPECT_EQ(App.g_tModeCond[2].lVoltDef[0], 74);
    EXPECT_EQ(App.g_tModeCond[2].lElecDef[0], 8);
    EXPECT_TRUE(d.isLoaded());
}

// The settings file right before each write is renamed into place.
std::vector<std::string> s_asWritten;
int s_iWrites = 0;
void vRecordWrite(const char* sTempPath) {
    std::ifstream in(sTempPath, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    s_asWritten.push_back(ss.str());
}
// The first write goes through and leaves the file read-only behind it.
void vFirstWriteLocks(const char* sTempPath) {
    if (s_iWrites++ == 0) chmod(sTempPath, 0444);
}

struct RegCase {
    int32_t g, s;
    const char* volt;
    const char* elec;
    const char* voltKey;
    const char* elecKey;
};

class FrmSettingReg : public FrmSettingTest, public ::testing::WithParamInterface<RegCase> {};

TEST_P(FrmSettingReg, YesWritesVoltageThenCurrentThenKeepsThemAndCloses) {
    const RegCase c = GetParam();
    frmSetting& d = load(c.g, c.s);
    d.txtVolt->setText(c.volt);
    d.txtElec->setText(c.elec);
    s_asWritten.clear();
    platform::vSetReplaceHook(&vRecordWrite);
    d.cmdReg_Click();

    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Setting value will be changed. Is it OK?", "Setting was saved."}));
    EXPECT_FALSE(d.isLoaded());
    ASSERT_EQ(s_asWritten.size(), 2u);
    const std::string sVoltLine = std::string(c.voltKey) + "=" + c.volt + "\r\n";
    const std::string sElecLine = std::string(c.elecKey) + "=" + c.elec + "\r\n";
    EXPECT_NE(s_asWritten[0].find(sVoltLine), std::string::npos);
    EXPECT_EQ(s_asWritten[0].find(sElecLine), std::string::npos);
    EXPECT_NE(s_asWritten[1].find(sElecLine), std::string::npos);
    EXPECT_EQ(sIniValue(c.voltKey), c.volt);
    EXPECT_EQ(sIniValue(c.elecKey), c.elec);
    EXPECT_EQ(App.g_tModeCond[c.g].lVoltDef[c.s], std::stoi(c.volt));
    EXPECT_EQ(App.g_tModeCond[c.g].lElecDef[c.s], std::stoi(c.elec));
    // The other sizes keep theirs.
    const int32_t o = (c.s + 1) % 3;
    EXPECT_EQ(sIniValue("M" + std::to_string(c.g) + "_VoltDef" + std::to_string(o)),
              std::to_string(App.g_tModeCond[c.g].lVoltDef[o]));
}

INSTANTIATE_TEST_SUITE_P(Subjects, FrmSettingReg,
                         ::testing::Values(RegCase{0, 0, "60", "2", "M0_VoltDef0", "M0_ElecDef0"},
                                           RegCase{1, 2, "80", "8", "M1_VoltDef2", "M1_ElecDef2"},
                                           RegCase{2, 1, "73", "4", "M2_VoltDef1", "M2_ElecDef1"}));

TEST_F(FrmSettingTest, AFailedVoltageWriteStopsBeforeTheCurrent) {
    frmSetting& d = load(1, 0);
    const std::string sIniBefore = sIniText();
    ASSERT_EQ(chmod(sIniPath().c_str(), 0444), 0);
    d.txtVolt->setText("77");
    d.txtElec->setText("4");
    d.cmdReg_Click();
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{"Setting value will be changed. Is it OK?", "Setting could not be saved."}));
    EXPECT_EQ(sIniText(), sIniBefore);
    EXPECT_EQ(App.g_tModeCond[1].lVoltDef[0], 70);
    EXPECT_EQ(App.g_tModeCond[1].lElecDef[0], 6);
    EXPECT_TRUE(d.isLoaded());
}

TEST_F(FrmSettingTest, AFailedCurrentWriteLeavesTheVoltageWrittenAndTheRecordsAsTheyWere) {
    frmSetting& d = load(1, 0);
    d.txtVolt->setText("77");
    d.txtElec->setText("4");
    s_iWrites = 0;
    platform::vSetReplaceHook(&vFirstWriteLocks);
    d.cmdReg_Click();
    platform::vSetReplaceHook(nullptr);
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{"Setting value will be changed. Is it OK?", "Setting could not be saved."}));
    EXPECT_EQ(s_iWrites, 1);
    EXPECT_EQ(sIniValue("M1_VoltDef0"), "77");
    EXPECT_EQ(sIniValue("M1_ElecDef0"), "6");
    EXPECT_EQ(App.g_tModeCond[1].lVoltDef[0], 70);
    EXPECT_EQ(App.g_tModeCond[1].lElecDef[0], 6);
    ASSERT_TRUE(d.isLoaded());
    // The operator gives up.
    ASSERT_TRUE(d.cmdCancel->click());
    EXPECT_FALSE(d.isLoaded());
    EXPECT_EQ(App.g_tModeCond[1].lVoltDef[0], 70);
    EXPECT_EQ(boxes_.size(), 2u);
}

TEST_F(FrmSettingTest, CancelWritesNothing) {
    frmSetting& d = load(0, 1);
    const std::string sIniBefore = sIniText();
    d.txtVolt->setText("61");
    ASSERT_TRUE(d.cmdCancel->click());
    EXPECT_FALSE(d.isLoaded());
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(sIniText(), sIniBefore);
    EXPECT_EQ(App.g_tModeCond[0].lVoltDef[1], 72);
}

TEST_F(FrmSettingTest, GotFocusSelectsTheWholeValue) {
    frmSetting& d = load(0, 0);
    d.txtVolt->setSelStart(1);
    d.txtVolt_GotFocus();
    EXPECT_EQ(d.txtVolt->selText(), "76");
    d.txtElec->setSelStart(1);
    d.txtElec_GotFocus();
    EXPECT_EQ(d.txtElec->selText(), "8");
}

TEST_F(FrmSettingTest, ASubjectTheConsoleDoesNotHaveShowsNoValuesAndStoresNothing) {
    frmSetting& d = load(3, -1);
    EXPECT_EQ(d.txtVolt->text(), "");
    d.txtVolt->setText("70");
    d.txtElec->setText("4");
    const std::string sIniBefore = sIniText();
    d.cmdReg_Click();
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{"Setting value will be changed. Is it OK?", "Setting could not be saved."}));
    EXPECT_EQ(sIniText(), sIniBefore);
}

}  // namespace
