// The equipment setting dialog on real widgets: what it shows when it
// opens, which pre-heat values OK accepts, what goes to the unit, what is
// kept in the settings file after each outcome, and that nobody can close
// it while the unit is being told.
#include <QGuiApplication>
#include <sys/stat.h>

#include "app/app_state.h"
#include "dialogs/frm_test.h"
#include "platform/atomic_file.h"
#include "tests/dialogs/dialog_fixture.h"
#include "ui/color.h"
#include "ui/look.h"
#include "ui/twips.h"

namespace {
using dlgfake::Reply;

// The settings file's pre-heat values, 2 mA to 12 mA.
constexpr int32_t INI_PREHEAT[6] = {11, 22, 0, 255, 128, 99};
const char* const PREHEAT_KEYS[6] = {"ElecPP2", "ElecPP4", "ElecPP6", "ElecPP8", "ElecPP10", "ElecPP12"};

int s_iWrites = 0;
void vCountWrite(const char*) { ++s_iWrites; }

class FrmTestTest : public DialogTest {
protected:
    void TearDown() override {
        platform::vSetReplaceHook(nullptr);
        dlg_.reset();  // before its owner, the main window
        DialogTest::TearDown();
    }
    frmTest& load() {
        dlg_ = std::make_unique<frmTest>(main_.get());
        dlg_->Load();
        return *dlg_;
    }
    // The 11458 box of a failed switch, with its code.
    static std::string sCommError(int32_t lCode, int32_t lExplanation) {
        return sText(11458) + "\r\nERR : " + std::to_string(lCode) + "\r\nMSG : " + sText(lExplanation);
    }
    // Nothing of the dialog reached the state or the file.
    void vExpectNothingStored(const std::string& sIniBefore) const {
        EXPECT_EQ(sIniText(), sIniBefore);
        EXPECT_EQ(App.g_lCephPlace, 1);
        EXPECT_EQ(App.g_lAutoPower, 0);
        EXPECT_EQ(App.g_lDisplayMode, 1);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(App.g_lElecPP[i], INI_PREHEAT[i]) << i;
    }
    std::unique_ptr<frmTest> dlg_;
};

TEST_F(FrmTestTest, OpensOnTheSwitchesInEffectWithNoCephalostatChoice) {
    frmTest& d = load();
    EXPECT_TRUE(d.m_booCanClose);
    EXPECT_EQ(d.caption(), "Equipment Setting");
    EXPECT_EQ(d.FrameSetting->caption(), "Equipment Setting");
    // AutoPower=0, DisplayMode=1 in the settings file.
    EXPECT_TRUE(d.optAutoPower[0]->value());
    EXPECT_FALSE(d.optAutoPower[1]->value());
    EXPECT_FALSE(d.optDisplay[0]->value());
    EXPECT_TRUE(d.optDisplay[1]->value());
    EXPECT_EQ(d.optAutoPower[1]->caption(), "ON");
    EXPECT_EQ(d.optAutoPower[0]->caption(), "OFF");
    EXPECT_LT(d.optAutoPower[1]->top(), d.optAutoPower[0]->top());  // ON above OFF
    EXPECT_EQ(d.lbl1[1]->caption(), "Auto Power OFF");
    EXPECT_EQ(d.lbl1[2]->caption(), "Exhibition");
    EXPECT_TRUE(d.lbl1[1]->visible());
    EXPECT_TRUE(d.lbl1[2]->visible());
    // CephPlace=1 was read, yet no side is offered.
    EXPECT_EQ(App.g_lCephPlace, 1);
    EXPECT_FALSE(d.lbl1[0]->visible());
    EXPECT_EQ(d.lbl1[0]->caption(), "Cephalo");
    for (auto* p : d.optCefa) EXPECT_FALSE(p->value()) << p->caption().value_or("");
    EXPECT_EQ(d.optCefa[2]->top(), 180);
    EXPECT_EQ(d.optCefa[1]->top(), 600);
    EXPECT_EQ(d.optCefa[0]->top(), 1020);
    EXPECT_EQ(d.cmdOk->caption(), "OK");
    EXPECT_EQ(d.cmdCancel->caption(), "Cancel");
}

TEST_F(FrmTestTest, PreHeatRowsAreLoadedCaptionedAndHidden) {
    App.g_lElecPP[5] = 300;  // beyond what the spinner holds
    frmTest& d = load();
    const char* asCaption[6] = {"Pre-heat  2mA", "Pre-heat  4mA", "Pre-heat  6mA",
                                "Pre-heat  8mA", "Pre-heat 10mA", "Pre-heat 12mA"};
    const int32_t alShown[6] = {11, 22, 0, 255, 128, 255};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(d.lbl1[i + 3]->caption(), asCaption[i]);
        EXPECT_EQ(d.lbl1[i + 3]->top(), 4530 + 510 * i);
        EXPECT_EQ(d.txtPreHeat[i]->top(), 4500 + 510 * i);
        EXPECT_EQ(d.txtPreHeat[i]->left(), 3120);
        EXPECT_EQ(d.UpDown1[i]->left(), 3765);
        EXPECT_EQ(d.UpDown1[i]->value(), alShown[i]);
        EXPECT_EQ(d.txtPreHeat[i]->text(), std::to_string(alShown[i]));
        EXPECT_EQ(d.txtPreHeat[i]->maxLength(), 3);
        EXPECT_EQ(d.UpDown1[i]->min(), 0);
        EXPECT_EQ(d.UpDown1[i]->max(), 255);
        EXPECT_EQ(d.UpDown1[i]->increment(), 1);
        EXPECT_FALSE(d.lbl1[i + 3]->visible());
        EXPECT_FALSE(d.txtPreHeat[i]->visible());
        EXPECT_FALSE(d.UpDown1[i]->visible());
    }
}

TEST_F(FrmTestTest, TakesTheConsolesLook) {
    frmTest& d = load();
    EXPECT_EQ(d.backColor(), lColorLight());
    EXPECT_EQ(d.foreColor(), lColorDark());
    EXPECT_EQ(d.FrameSetting->backColor(), lColorLight());
    EXPECT_EQ(d.FrameSetting->foreColor(), lColorDark());
    EXPECT_EQ(d.lbl1[1]->foreColor(), lColorDark());
    EXPECT_EQ(d.optDisplay[1]->backColor(), lColorLight());
    EXPECT_FALSE(d.optDisplay[1]->foreColor().has_value());
    EXPECT_FALSE(d.txtPreHeat[0]->backColor().has_value());  // an unlocked box keeps its own
    // Plain buttons two steps smaller, in place.
    EXPECT_EQ(d.cmdOk->left(), 2010);
    EXPECT_EQ(d.cmdOk->top(), 8190);
    EXPECT_EQ(d.cmdOk->width(), 1770);
    EXPECT_EQ(d.cmdOk->height(), 645);
    EXPECT_EQ(d.cmdCancel->left(), 3900);
    EXPECT_EQ(d.cmdCancel->width(), 1770);
    // Centred on the screen.
    EXPECT_NEAR(d.left(), (ui::lScreenWidth() - d.width()) / 2, 15);
    EXPECT_NEAR(d.top(), (ui::lScreenHeight() - d.height()) / 2, 15);
}

struct SwitchCase {
    int32_t lAutoPower;
    int32_t lDisplayMode;
};

class FrmTestSwitches : public FrmTestTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(FrmTestSwitches, OkSendsBothSwitchesThenKeepsAllNineValues) {
    const SwitchCase c = GetParam();
    frmTest& d = load();
    d.optAutoPower[c.lAutoPower]->setValue(true);
    d.optDisplay[c.lDisplayMode]->setValue(true);
    ASSERT_TRUE(d.cmdOk->click());

    EXPECT_EQ(dlgfake::unit().sent, (std::vector<std::string>{"ap" + std::to_string(c.lAutoPower),
                                                               "sp" + std::to_string(c.lDisplayMode)}));
    EXPECT_TRUE(boxes_.empty());
    EXPECT_FALSE(d.isLoaded());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // No side was chosen: the cephalostat is stored as none.
    EXPECT_EQ(sIniValue("CephPlace"), "0");
    EXPECT_EQ(sIniValue("AutoPower"), std::to_string(c.lAutoPower));
    EXPECT_EQ(sIniValue("DisplayMode"), std::to_string(c.lDisplayMode));
    EXPECT_EQ(App.g_lCephPlace, 0);
    EXPECT_EQ(App.g_lAutoPower, c.lAutoPower);
    EXPECT_EQ(App.g_lDisplayMode, c.lDisplayMode);
    // The pre-heat values are those loaded, since nobody can see them.
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(sIniValue(PREHEAT_KEYS[i]), std::to_string(INI_PREHEAT[i])) << i;
        EXPECT_EQ(App.g_lElecPP[i], INI_PREHEAT[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Choices, FrmTestSwitches,
                         ::testing::Values(SwitchCase{0, 0}, SwitchCase{0, 1}, SwitchCase{1, 0}, SwitchCase{1, 1}));

TEST_F(FrmTestTest, UnchangedSwitchesAreStillSentAndAllNineKeysWritten) {
    frmTest& d = load();
    s_iWrites = 0;
    platform::vSetReplaceHook(&vCountWrite);
    d.cmdOk_Click();
    EXPECT_EQ(dlgfake::unit().sent, (std::vector<std::string>{"ap0", "sp1"}));
    EXPECT_EQ(s_iWrites, 9);
    // Each key once, under its own name; the current comes after the word.
    const std::string sIni = sIniText();
    for (const char* k : PREHEAT_KEYS) {
        const std::string sLine = std::string("\n") + k + "=";
        EXPECT_EQ(sIni.find(sLine), sIni.rfind(sLine)) << k;
    }
    EXPECT_EQ(sIni.find("2ElecPP"), std::string::npos);
}

struct PreHeatCase {
    int row;
    const char* text;
    bool booValid;
    int32_t lStored;
};

class FrmTestPreHeat : public FrmTestTest, public ::testing::WithParamInterface<PreHeatCase> {};

TEST_P(FrmTestPreHeat, OkAcceptsOnlyWholeValuesFrom0To255) {
    const PreHeatCase c = GetParam();
    frmTest& d = load();
    const std::string sIniBefore = sIniText();
    d.txtPreHeat[c.row]->setText(c.text);
    d.cmdOk_Click();
    if (c.booValid) {
        EXPECT_TRUE(boxes_.empty());
        EXPECT_EQ(dlgfake::unit().sent.size(), 2u);
        EXPECT_FALSE(d.isLoaded());
        EXPECT_EQ(App.g_lElecPP[c.row], c.lStored);
        EXPECT_EQ(sIniValue(PREHEAT_KEYS[c.row]), std::to_string(c.lStored));
        return;
    }
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Set preheat value correctly.\n(Valid value: 0 - 255)"}));
    EXPECT_EQ(boxes_[0].hOwner, d.hWnd());
    EXPECT_TRUE(dlgfake::unit().sent.empty());
    EXPECT_TRUE(d.isLoaded());
    EXPECT_TRUE(d.m_booCanClose);
    EXPECT_TRUE(d.cmdOk->enabled());
    vExpectNothingStored(sIniBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, FrmTestPreHeat,
    ::testing::Values(PreHeatCase{0, "0", true, 0}, PreHeatCase{5, "255", true, 255},
                      PreHeatCase{1, "256", false, 0}, PreHeatCase{2, "-1", false, 0},
                      PreHeatCase{3, "", false, 0}, PreHeatCase{4, "abc", false, 0},
                      PreHeatCase{1, "1e2", false, 0}, PreHeatCase{5, "999", false, 0},
                      PreHeatCase{0, "2.5", true, 2},  // halves go to the even number
                      PreHeatCase{0, "3.5", true, 4}, PreHeatCase{2, "+9", true, 9},
                      PreHeatCase{3, " 7", true, 7}, PreHeatCase{4, "-.4", true, 0}));

TEST_F(FrmTestTest, TheFirstWrongBoxGetsTheFocusWithItsTextSelected) {
    frmTest& d = load();
    for (int i = 0; i < 6; ++i) d.txtPreHeat[i]->setVisible(true);
    d.Show(false);
    QApplication::setActiveWindow(&d);
    d.txtPreHeat[3]->setText("256");
    d.txtPreHeat[5]->setText("abc");
    d.cmdOk->setFocus();
    d.cmdOk_Click();
    if (!d.cmdOk->hasFocus() && !d.txtPreHeat[3]->hasFocus()) GTEST_SKIP() << "this platform gives no keyboard focus";
    EXPECT_TRUE(d.txtPreHeat[3]->hasFocus());
    EXPECT_EQ(d.txtPreHeat[3]->selText(), "256");
    EXPECT_EQ(boxes_.size(), 1u);
    // The next try reports the next wrong box.
    d.txtPreHeat[3]->setText("25");
    d.cmdOk_Click();
    EXPECT_TRUE(d.txtPreHeat[5]->hasFocus());
    EXPECT_EQ(d.txtPreHeat[5]->selText(), "abc");
    EXPECT_EQ(boxes_.size(), 2u);
    EXPECT_TRUE(dlgfake::unit().sent.empty());
}

TEST_F(FrmTestTest, GotFocusSelectsTheWholeValue) {
    frmTest& d = load();
    d.txtPreHeat[4]->setSelStart(2);
    d.txtPreHeat_GotFocus(4);
    EXPECT_EQ(d.txtPreHeat[4]->selStart(), 0);
    EXPECT_EQ(d.txtPreHeat[4]->selText(), "128");
}

TEST_F(FrmTestTest, SpinnerAndBoxKeepEachOthersValue) {
    frmTest& d = load();
    for (int i = 0; i < 6; ++i) {
        d.txtPreHeat[i]->setVisible(true);
        d.UpDown1[i]->setVisible(true);
    }
    d.UpDown1[0]->stepUp();
    d.UpDown1[0]->stepUp();
    EXPECT_EQ(d.txtPreHeat[0]->text(), "13");
    d.UpDown1[2]->stepDown();  // at 0 already
    EXPECT_EQ(d.UpDown1[2]->value(), 0);
    EXPECT_EQ(d.txtPreHeat[2]->text(), "0");
    d.UpDown1[3]->stepUp();  // at 255 already
    EXPECT_EQ(d.txtPreHeat[3]->text(), "255");
    d.UpDown1[3]->stepDown();
    EXPECT_EQ(d.txtPreHeat[3]->text(), "254");

    d.txtPreHeat[1]->setText("17");
    EXPECT_EQ(d.UpDown1[1]->value(), 17);
    d.UpDown1[1]->stepUp();
    EXPECT_EQ(d.txtPreHeat[1]->text(), "18");
    // A value the spinner cannot hold leaves it where it was; the box keeps
    // what was typed, for OK to judge.
    d.txtPreHeat[1]->setText("300");
    EXPECT_EQ(d.UpDown1[1]->value(), 18);
    d.txtPreHeat[1]->setText("ab");
    EXPECT_EQ(d.UpDown1[1]->value(), 18);
    d.txtPreHeat[1]->setText("2.5");
    EXPECT_EQ(d.UpDown1[1]->value(), 2);
    EXPECT_EQ(d.txtPreHeat[1]->text(), "2.5");

    d.cmdOk_Click();
    EXPECT_EQ(sIniValue("ElecPP2"), "13");
    EXPECT_EQ(sIniValue("ElecPP4"), "2");
    EXPECT_EQ(sIniValue("ElecPP8"), "254");
}

struct FailCase {
    const char* name;
    Reply ap;
    Reply sp;
    std::vector<std::string> sent;
    int32_t lCode;
    int32_t lExplanation;
};

class FrmTestFailure : public FrmTestTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(FrmTestFailure, NothingIsKeptAndTheDialogStaysWithTheOperatorsChoices) {
    const FailCase& c = GetParam();
    dlgfake::unit().replies["ap1"] = c.ap;
    dlgfake::unit().replies["sp0"] = c.sp;
    frmTest& d = load();
    const std::string sIniBefore = sIniText();
    d.optAutoPower[1]->setValue(true);
    d.optDisplay[0]->setValue(true);
    d.cmdOk_Click();

    EXPECT_EQ(dlgfake::unit().sent, c.sent);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{sCommError(c.lCode, c.lExplanation),
                                                    "Equipment Setting Command could not be transferred correctly."}));
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].hOwner, d.hWnd());
    // The device is released once.
    EXPECT_EQ(dlgfake::unit().calls["ResetAll"], 1);
    EXPECT_EQ(dlgfake::unit().calls["SetDeviceFree"], 1);
    vExpectNothingStored(sIniBefore);
    EXPECT_TRUE(d.isLoaded());
    EXPECT_TRUE(d.m_booCanClose);
    EXPECT_TRUE(d.cmdOk->enabled());
    EXPECT_TRUE(d.cmdCancel->enabled());
    EXPECT_TRUE(d.FrameSetting->enabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(d.optAutoPower[1]->value());
    EXPECT_TRUE(d.optDisplay[0]->value());
    // The main window stays; only the dialog reported.
    EXPECT_TRUE(main_->isLoaded());
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FrmTestFailure,
    ::testing::Values(FailCase{"ApSilent", Reply::Silent, Reply::Ack, {"ap1", "ap1", "ap1", "ap1"}, 10003, 10492},
                      FailCase{"ApRefused", Reply::Nak, Reply::Ack, {"ap1", "ap1", "ap1", "ap1"}, 10003, 10492},
                      FailCase{"ApNotSent", Reply::SendFails, Reply::Ack, {}, 7, 10457},
                      FailCase{"SpSilent", Reply::Ack, Reply::Silent, {"ap1", "sp0", "sp0", "sp0", "sp0"}, 10003, 10492},
                      FailCase{"SpNotSent", Reply::Ack, Reply::SendFails, {"ap1"}, 7, 10457}),
    [](const ::testing::TestParamInfo<FailCase>& i) { return std::string(i.param.name); });

TEST_F(FrmTestTest, CancelAfterAFailedOkClosesWithoutKeepingAnything) {
    dlgfake::unit().replies["ap0"] = Reply::Silent;
    frmTest& d = load();
    const std::string sIniBefore = sIniText();
    d.cmdOk_Click();
    ASSERT_EQ(boxes_.size(), 2u);
    ASSERT_TRUE(d.isLoaded());
    ASSERT_TRUE(d.cmdCancel->click());
    EXPECT_FALSE(d.isLoaded());
    EXPECT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(dlgfake::unit().sent, (std::vector<std::string>(4, "ap0")));
    vExpectNothingStored(sIniBefore);
}

TEST_F(FrmTestTest, CancelSendsAndKeepsNothing) {
    frmTest& d = load();
    const std::string sIniBefore = sIniText();
    d.optAutoPower[1]->setValue(true);
    d.txtPreHeat[0]->setText("77");
    ASSERT_TRUE(d.cmdCancel->click());
    EXPECT_FALSE(d.isLoaded());
    EXPECT_TRUE(dlgfake::unit().sent.empty());
    EXPECT_TRUE(boxes_.empty());
    vExpectNothingStored(sIniBefore);
}

// Every way of closing the dialog, tried while the unit is being told.
struct CloseTries {
    int iTries = 0;
    bool booAnyClosed = false;
    bool booAnyEnabled = false;
    bool booBusyPointer = true;
};

void vTryClosing(frmTest& d, CloseTries& t) {
    ++t.iTries;
    t.booAnyClosed = t.booAnyClosed || d.Unload(ui::vbFormControlMenu) || d.Unload(ui::vbFormCode) || d.close() ||
                     d.cmdCancel->click() || !d.isLoaded() || d.m_booCanClose;
    t.booAnyEnabled = t.booAnyEnabled || d.cmdOk->enabled() || d.cmdCancel->enabled() || d.FrameSetting->enabled();
    t.booBusyPointer = t.booBusyPointer && QGuiApplication::overrideCursor() != nullptr;
}

TEST_F(FrmTestTest, ClosingIsRefusedWhileTheSwitchesAreSent) {
    frmTest& d = load();
    d.Show(false);
    CloseTries t;
    dlgfake::unit().onSend = [&](const std::string&) { vTryClosing(d, t); };
    d.cmdOk_Click();
    EXPECT_EQ(t.iTries, 2);  // at "ap" and at "sp"
    EXPECT_FALSE(t.booAnyClosed);
    EXPECT_FALSE(t.booAnyEnabled);
    EXPECT_TRUE(t.booBusyPointer);
    // Both were taken: now the dialog closes by itself.
    EXPECT_EQ(dlgfake::unit().sent, (std::vector<std::string>{"ap0", "sp1"}));
    EXPECT_FALSE(d.isLoaded());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

struct WaitCtx {
    frmTest* d;
    CloseTries t;
};

void vTryClosingWhileWaiting(void* ctx, uint32_t) {
    auto* w = static_cast<WaitCtx*>(ctx);
    vTryClosing(*w->d, w->t);
}

TEST_F(FrmTestTest, ClosingIsRefusedWhileWaitingForTheUnit) {
    dlgfake::unit().replies["ap0"] = Reply::Silent;
    frmTest& d = load();
    d.Show(false);
    WaitCtx w{&d, {}};
    clock_.ctx = &w;
    clock_.onSleep = &vTryClosingWhileWaiting;
    d.cmdOk_Click();
    clock_.onSleep = nullptr;
    EXPECT_GT(w.t.iTries, 100);  // four sends, 3000 ms apart, in 10 ms steps
    EXPECT_FALSE(w.t.booAnyClosed);
    EXPECT_FALSE(w.t.booAnyEnabled);
    // Given up: the dialog may be closed again.
    EXPECT_TRUE(d.isLoaded());
    EXPECT_TRUE(d.close());
    EXPECT_FALSE(d.isLoaded());
}

}  // namespace
