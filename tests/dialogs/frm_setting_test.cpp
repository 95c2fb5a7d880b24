// The default exposure condition dialog: how a right click on the pressed
// size button opens it, what it shows, which values it takes, and what
// reaches the settings file and the records after each way out of it.
#include <sys/stat.h>

#include <QApplication>

#include "app/app_state.h"
#include "dialogs/frm_setting.h"
#include "resources/string_table.h"
#include "tests/dialogs/dialog_test.h"
#include "tests/support/dialog_during.h"
#include "ui/look.h"

namespace {

class FrmSettingTest : public DialogTest<frmSetting> {
protected:
    frmSetting& open(int32_t g, int32_t s, int lang = 1) {
        vSetResLanguage(lang);
        frmSetting& d = create();
        d.m_lModePos = g;
        d.m_lSizePos = s;
        d.Load();
        return d;
    }
};

struct ShownCase {
    int lang;  // 1 English, 2 Japanese
    int32_t g, s;
    const char* shown;  // caption and boxes, joined by '|'
};
class FrmSettingShows : public FrmSettingTest, public ::testing::WithParamInterface<ShownCase> {};

// Faults: a wrong text number for a group, a size, a label or a button; a
// text left in English; the group and size swapped, or the boxes filled from
// another size's defaults; the console's colours not taken.
TEST_P(FrmSettingShows, ItsGroupAndSizeWithThatSizesDefaults) {
    const ShownCase c = GetParam();
    frmSetting& d = open(c.g, c.s, c.lang);
    EXPECT_EQ(sJoined({d.caption(), d.txtVolt->text(), d.txtElec->text()}), c.shown);
    EXPECT_EQ(sJoined({d.lbl1[0]->caption().value_or(""), d.lbl1[1]->caption().value_or(""),
                       d.cmdReg->caption().value_or(""), d.cmdCancel->caption().value_or("")}),
              c.lang == 1 ? "Tube voltage : |Tube current  : |Setting|Cancel" : "管電圧 : |管電流 : |設定|キャンセル");
    EXPECT_TRUE(d.backColor() == lColorLight() && d.foreColor() == lColorDark());
}

INSTANTIATE_TEST_SUITE_P(
    GroupsAndSizes, FrmSettingShows,
    ::testing::Values(
        ShownCase{1, 0, 2, "Setting - 【Panorama 10 Sec. Adult (Small)】|66|4"},
        ShownCase{1, 1, 0, "Setting - 【Panorama 10 Sec. Child (Large)】|70|6"},
        ShownCase{1, 2, 1, "Setting - 【TMJ Lateral (Middle)】|70|6"},
        ShownCase{2, 2, 1, "設定 - 【顎関節 側面 (中)】|70|6"}));

// The text with one key's value replaced.
std::string sWithKey(std::string sText, const std::string& sKey, const std::string& sValue) {
    const size_t b = sText.find("\n" + sKey + "=") + sKey.size() + 2;
    return sText.replace(b, sText.find('\r', b) - b, sValue);
}

int s_iWrites = 0;
void vFirstWriteLocks(const char* sTempPath) {  // the file is read-only after the first write
    if (s_iWrites++ == 0) chmod(sTempPath, 0444);
}

enum class Way { Yes, No, Cancel, VoltFails, ElecFails };
struct RegCase {
    const char* name;
    int lang;
    Way way;
    int32_t g, s;
    const char *volt, *elec;
    const char *ask, *told;  // the question and the message after it
    const char *fileVolt, *fileElec;  // the size's two keys afterwards
    bool booSaved;                     // the record took them, the dialog closed
    int iWrong = 0;                    // the box named as wrong: 1 voltage, 2 current
};
class FrmSettingReg : public FrmSettingTest, public ::testing::WithParamInterface<RegCase> {};

// Faults: another group's or size's key written, the current written before
// the voltage, the typed text stored instead of its number, a record changed
// though a write failed or the answer was No, Cancel that writes, the dialog
// left open after saving or closed after a failure, a message text number
// wrong in either language. Of the input: a limit moved by one on either
// side, an odd current taken, text that is no number taken, the current
// named when both are wrong, the focus left elsewhere or its text not
// selected for retyping, a box that takes a third character.
TEST_P(FrmSettingReg, WritesVoltageThenCurrentOnlyWhenConfirmed) {
    const RegCase c = GetParam();
    lBoxAnswer_ = c.way == Way::No ? platform::IDNO : platform::IDYES;
    frmSetting& d = open(c.g, c.s, c.lang);
    const std::string sIniBefore = sIniText();
    const tModeCond tBefore = App.g_tModeCond[c.g];
    d.txtVolt->setText(c.volt);
    d.txtElec->setText(c.elec);
    s_iWrites = 0;
    if (c.way == Way::VoltFails) chmod(sIniPath().c_str(), 0444);
    if (c.way == Way::ElecFails) platform::vSetReplaceHook(&vFirstWriteLocks);
    d.Show(false);
    QApplication::setActiveWindow(&d);
    d.cmdReg->setFocus();
    ASSERT_TRUE(c.way == Way::Cancel ? d.cmdCancel->click() : d.cmdReg->click());

    EXPECT_EQ(sJoined(boxTexts()), std::string(c.ask ? c.ask : "") + (c.told ? "|" + std::string(c.told) : ""));
    const std::string sGS = std::to_string(c.g) + "_", sS = std::to_string(c.s);
    EXPECT_EQ(sIniText(), sWithKey(sWithKey(sIniBefore, "M" + sGS + "VoltDef" + sS, c.fileVolt),
                                   "M" + sGS + "ElecDef" + sS, c.fileElec));
    EXPECT_EQ(App.g_tModeCond[c.g].lVoltDef[c.s], c.booSaved ? std::stoi(c.fileVolt) : tBefore.lVoltDef[c.s]);
    EXPECT_EQ(App.g_tModeCond[c.g].lElecDef[c.s], c.booSaved ? std::stoi(c.fileElec) : tBefore.lElecDef[c.s]);
    EXPECT_EQ(d.isLoaded(), !c.booSaved && c.way != Way::Cancel);
    if (c.iWrong == 0) return;
    EXPECT_EQ(boxes_.empty() ? nullptr : boxes_[0].hOwner, d.hWnd());
    ui::TextBox* pWrong = c.iWrong == 1 ? d.txtVolt : d.txtElec;
    EXPECT_TRUE(pWrong->hasFocus());
    EXPECT_EQ(pWrong->selText(), pWrong->text());
}

constexpr const char* ASK = "Setting value will be changed. Is it OK?";
constexpr const char* ASK_JA = "設定値を変更します。よろしいですか？";
constexpr const char* WRONG = "Input value is incorrect.";

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FrmSettingReg,
    ::testing::Values(
        RegCase{"Yes", 1, Way::Yes, 0, 0, "60", "2", ASK, "Setting was saved.", "60", "2", true},
        RegCase{"YesJa", 2, Way::Yes, 1, 2, "80", "8.", ASK_JA, "設定を保存しました。", "80", "8", true},
        RegCase{"No", 1, Way::No, 2, 0, "61", "2", ASK, nullptr, "74", "8", false},
        RegCase{"ThirdCharacterCut", 1, Way::Yes, 2, 1, "605", "6", ASK, "Setting was saved.", "60", "6", true},
        RegCase{"ElecOddJa", 2, Way::Yes, 0, 2, "70", "3", "入力値が正しくありません。", nullptr, "66", "4", false, 2},
        RegCase{"VoltBelow", 1, Way::Yes, 1, 0, "59", "2", WRONG, nullptr, "70", "6", false, 1},
        RegCase{"VoltAbove", 1, Way::Yes, 1, 0, "81", "8", WRONG, nullptr, "70", "6", false, 1},
        RegCase{"VoltEmpty", 1, Way::Yes, 1, 0, "", "4", WRONG, nullptr, "70", "6", false, 1},
        RegCase{"BothWrongVoltNamed", 1, Way::Yes, 1, 0, "ab", "3", WRONG, nullptr, "70", "6", false, 1},
        RegCase{"ElecZero", 1, Way::Yes, 1, 0, "70", "0", WRONG, nullptr, "70", "6", false, 2},
        RegCase{"ElecTen", 1, Way::Yes, 1, 0, "70", "10", WRONG, nullptr, "70", "6", false, 2},
        RegCase{"ElecText", 1, Way::Yes, 1, 0, "70", "x", WRONG, nullptr, "70", "6", false, 2},
        RegCase{"VoltFails", 1, Way::VoltFails, 1, 0, "77", "4", ASK, "Setting could not be saved.", "70", "6", false},
        RegCase{"ElecFailsJa", 2, Way::ElecFails, 2, 1, "78", "4", ASK_JA, "設定を保存できませんでした。", "78", "6", false},
        RegCase{"Cancel", 1, Way::Cancel, 0, 1, "61", "2", nullptr, nullptr, "72", "6", false}),
    [](const ::testing::TestParamInfo<RegCase>& i) { return std::string(i.param.name); });

// Faults: the dialog opened for another group or size; the polling left
// running while it is open, or not restarted; the size's defaults not
// applied or not shown after Cancel or the title bar; registered values not
// in effect at once.
TEST_F(FrmSettingTest, RightClickOnThePressedSizeEditsItsDefaults) {
    frmMain& frm = load();
    frm.imgMode_Click(2);
    frm.cmdDefVolt_Click(2);  // TMJ, small: 64 kV, 4 mA
    for (const std::string sWay : {"Cancel", "TitleBar", "Register"}) {
        SCOPED_TRACE(sWay);
        const bool booRegister = sWay == "Register";
        App.g_lVolt = 61;  // the values in effect moved on since
        App.g_lElec = 2;
        std::string sSeen;
        auto pLeftOpen = pDuringDialog<frmSetting>([&](frmSetting& d) {
            sSeen = sJoined({d.caption(), d.txtVolt->text(), d.txtElec->text(), std::to_string(frm.booTimerEnabled())});
            d.txtVolt->setText("78");
            d.txtElec->setText("8");
            if (sWay == "TitleBar") d.close();
            if (sWay != "TitleBar") (booRegister ? d.cmdReg : d.cmdCancel)->click();
        });
        frm.cmdDefVolt[2]->fireMouse(true, ui::vbRightButton, 0, 100, 100);
        frm.cmdDefVolt[2]->fireMouse(false, ui::vbRightButton, 0, 100, 100);
        EXPECT_FALSE(*pLeftOpen);
        EXPECT_EQ(sSeen, "Setting - 【TMJ Lateral (Small)】|64|4|0");
        EXPECT_TRUE(frm.booTimerEnabled());
        const int32_t lVolt = booRegister ? 78 : 64, lElec = booRegister ? 8 : 4;
        EXPECT_EQ(App.g_lVolt, lVolt);
        EXPECT_EQ(App.g_lElec, lElec);
        EXPECT_TRUE(booShowsPicture(*frm.picVoltL, 12450 + lVolt % 10));
        EXPECT_TRUE(booShowsPicture(*frm.picElecL, 12450 + lElec));
    }
    EXPECT_EQ(sJoined(boxTexts()), "Setting value will be changed. Is it OK?|Setting was saved.");
    EXPECT_EQ(sIniValue("M2_VoltDef2"), "78");
}

}  // namespace
