// The equipment setting dialog: how test mode opens it, the frames it sends,
// what it keeps in the settings file and in effect, and what the service
// operator sees when a value is wrong or the unit does not take a switch.
#include <QGuiApplication>
#include <QKeyEvent>
#include <map>

#include "app/app_state.h"
#include "dialogs/frm_test.h"
#include "tests/dialogs/dialog_test.h"
#include "tests/support/dialog_during.h"
#include "ui/look.h"

namespace {
using enum scripted::Reply;

const char* const KEPT_KEYS[9] = {"CephPlace", "AutoPower", "DisplayMode", "ElecPP2", "ElecPP4",
                                  "ElecPP6",   "ElecPP8",   "ElecPP10",    "ElecPP12"};

class FrmTestTest : public DialogTest<frmTest> {
protected:
    // AutoPower and DisplayMode as given (null: missing, so 1 and 0 are in
    // effect). Each pre-heat row has its own value; ElecPP6 is missing, so
    // only a write puts the reader's 240 into the file.
    frmTest& open(const char* sAutoPower, const char* sDisplay) {
        const char* const values[8] = {sAutoPower, sDisplay, "11", "22", nullptr, "255", "0", "99"};
        for (int i = 0; i < 8; ++i)
            vSetKey(KEPT_KEYS[i + 1], values[i] ? std::optional<std::string>(values[i]) : std::nullopt);
        frmTest& d = create();
        d.Load();
        scripted::unit().calls.clear();
        scripted::unit().sends.clear();
        return d;
    }
    // The nine values as the file has them, or as in effect.
    std::string sKept(bool booFile) const {
        const int32_t al[3] = {App.g_lCephPlace, App.g_lAutoPower, App.g_lDisplayMode};
        std::vector<std::string> v;
        for (int i = 0; i < 9; ++i)
            v.push_back(booFile ? sIniValue(KEPT_KEYS[i]) : std::to_string(i < 3 ? al[i] : App.g_lElecPP[i - 3]));
        return sJoined(v, " ");
    }
};

const std::map<std::string, std::string> FRAMES = {{"ap0", "\x02" "ap0 21\x03"}, {"ap1", "\x02" "ap1 22\x03"},
                                                   {"sp0", "\x02" "sp0 33\x03"}, {"sp1", "\x02" "sp1 34\x03"}};
constexpr const char* WRONG = "Set preheat value correctly.\n(Valid value: 0 - 255)";
// The two boxes of a switch the unit did not take, around its error code and explanation.
const std::string COMM = "Communication with equipment is unavailable. Confirm power on of the equipment.\r\nERR : ";
const std::string NOT_SENT = "|Equipment Setting Command could not be transferred correctly.";
constexpr const char* NO_ACK = "10003\r\nMSG : Unclear Error";
constexpr const char* REFUSED =
    "7\r\nMSG : Access failure to Exposure Control Program Load File that was set by factor.";

struct OkCase {
    const char* name;
    const char *autoPower, *display;  // in the file
    int a, d;  // the operator's choice; -1 leaves the switch as loaded
    int row;   // the pre-heat box typed into, and what
    const char* text;
    scripted::Reply ap, sp;  // the unit's answer to "ap" and to "sp"
    const char* commands;  // sent, in order
    const char* boxes;     // shown, joined by '|'; for a switch not taken, its error and explanation
    const char* kept;      // the nine values afterwards; null: nothing kept, the dialog stays
};
class FrmTestOk : public FrmTestTest, public ::testing::WithParamInterface<OkCase> {};

// Faults: a switch loaded onto the wrong option; a wrong command letter,
// digit or frame; "sp" before "ap", or after a failed "ap"; an unchanged
// value not sent or not written; the cephalostat side kept; a pre-heat key
// misspelt or skipped, or a value other than the one loaded; a pre-heat
// limit off by one, or halves rounded up or cut off instead of to the even
// number; the dialog closable or usable while a switch is on its way, or
// without the busy pointer; the device not released once on a failure; a
// wrong message text number or error code; anything kept after a failure,
// or the dialog closed, left locked or reset then; Cancel afterwards that
// sends or keeps anything.
TEST_P(FrmTestOk, SendsBothSwitchesThenKeepsAllNineValues) {
    const OkCase c = GetParam();
    for (const char* s : {"ap0", "ap1"}) scripted::unit().replies[s] = c.ap;
    for (const char* s : {"sp0", "sp1"}) scripted::unit().replies[s] = c.sp;
    frmTest& d = open(c.autoPower, c.display);
    const std::string sIniBefore = sIniText(), sEffectBefore = sKept(false);
    if (c.a >= 0) d.optAutoPower[c.a]->setValue(true);
    if (c.d >= 0) d.optDisplay[c.d]->setValue(true);
    if (c.row >= 0) d.txtPreHeat[c.row]->setText(c.text);
    std::string sLocked;  // at each send: 1 when nothing could close or use the dialog
    scripted::unit().onCall = [&](const scripted::Call& call) {
        if (call.name != "Ether232Send") return;
        const bool booStays = !d.Unload(ui::vbFormControlMenu) && !d.Unload(ui::vbFormCode) && !d.close() &&
                              !d.cmdCancel->click() && d.isLoaded();
        const bool booBusy = QGuiApplication::overrideCursor() != nullptr;
        sLocked += booStays && booBusy && !d.cmdOk->enabled() && !d.FrameSetting->enabled() ? "1" : "0";
    };
    ASSERT_TRUE(d.cmdOk->click());
    scripted::unit().onCall = nullptr;
    EXPECT_EQ(sLocked, std::string(scripted::unit().sends.size(), '1'));

    EXPECT_EQ(sJoined(scripted::commands(), " "), c.commands);
    for (const auto& s : scripted::unit().sends) EXPECT_EQ(s.bytes, FRAMES.at(s.bytes.substr(1, 3)));
    const bool booFailed = c.ap != Ack || c.sp != Ack;  // the device is then released once
    EXPECT_EQ(sJoined(boxTexts()), booFailed ? COMM + c.boxes + NOT_SENT : c.boxes);
    EXPECT_EQ(std::to_string(scripted::iCalls("ResetAll")) + std::to_string(scripted::iCalls("SetDeviceFree")),
              booFailed ? "11" : "00");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    if (c.kept != nullptr) {
        EXPECT_FALSE(d.isLoaded());
        EXPECT_EQ(sKept(true), c.kept);
        EXPECT_EQ(sKept(false), c.kept);
        return;
    }
    EXPECT_EQ(boxes_.empty() ? nullptr : boxes_.back().hOwner, d.hWnd());
    EXPECT_TRUE(d.isLoaded() && d.cmdOk->enabled() && d.cmdCancel->enabled() && d.FrameSetting->enabled());
    EXPECT_TRUE(d.optAutoPower[c.a]->value() && d.optDisplay[c.d]->value());
    ASSERT_TRUE(d.cmdCancel->click());
    EXPECT_FALSE(d.isLoaded());
    EXPECT_EQ(sJoined(scripted::commands(), " "), c.commands);
    EXPECT_EQ(sIniText(), sIniBefore);
    EXPECT_EQ(sKept(false), sEffectBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FrmTestOk,
    ::testing::Values(
        OkCase{"Unchanged", "0", "1", -1, -1, -1, "", Ack, Ack, "ap0 sp1", "", "0 0 1 11 22 240 255 0 99"},
        OkCase{"Missing", nullptr, nullptr, -1, -1, -1, "", Ack, Ack, "ap1 sp0", "", "0 1 0 11 22 240 255 0 99"},
        OkCase{"BothOn", "0", "0", 1, 1, -1, "", Ack, Ack, "ap1 sp1", "", "0 1 1 11 22 240 255 0 99"},
        OkCase{"BothOff", "1", "1", 0, 0, -1, "", Ack, Ack, "ap0 sp0", "", "0 0 0 11 22 240 255 0 99"},
        OkCase{"PreHeat0", "0", "1", 1, 0, 0, "0", Ack, Ack, "ap1 sp0", "", "0 1 0 0 22 240 255 0 99"},
        OkCase{"PreHeat255", "0", "1", 1, 0, 5, "255", Ack, Ack, "ap1 sp0", "", "0 1 0 11 22 240 255 0 255"},
        OkCase{"PreHeat256", "0", "1", 1, 0, 1, "256", Ack, Ack, "", WRONG, nullptr},
        OkCase{"PreHeatMinus1", "0", "1", 1, 0, 2, "-1", Ack, Ack, "", WRONG, nullptr},
        OkCase{"PreHeatText", "0", "1", 1, 0, 4, "abc", Ack, Ack, "", WRONG, nullptr},
        OkCase{"Half2", "0", "1", 1, 0, 0, "2.5", Ack, Ack, "ap1 sp0", "", "0 1 0 2 22 240 255 0 99"},
        OkCase{"Half3", "0", "1", 1, 0, 3, "3.5", Ack, Ack, "ap1 sp0", "", "0 1 0 11 22 240 4 0 99"},
        OkCase{"HalfMinus0", "0", "1", 1, 0, 4, "-.5", Ack, Ack, "ap1 sp0", "", "0 1 0 11 22 240 255 0 99"},
        OkCase{"ApNak", "0", "1", 1, 0, -1, "", Nak, Ack, "ap1 ap1 ap1 ap1", NO_ACK, nullptr},
        OkCase{"ApRefused", "0", "1", 1, 0, -1, "", Fail, Ack, "ap1", REFUSED, nullptr},
        OkCase{"SpSilent", "0", "1", 1, 0, -1, "", Ack, Silent, "ap1 sp0 sp0 sp0 sp0", NO_ACK, nullptr},
        OkCase{"SpRefused", "0", "1", 1, 0, -1, "", Ack, Fail, "ap1 sp0", REFUSED, nullptr}),
    [](const ::testing::TestParamInfo<OkCase>& i) { return std::string(i.param.name); });

// Faults: Ctrl+Alt+J handled twice on its way from the focused control (test
// mode on and straight off again), the "Test Mode" button opening nothing,
// the dialog not modal over the main window, the polling stopped meanwhile,
// a text of the dialog wrong, its colours not the console's, the cephalostat
// or pre-heat rows on offer.
TEST_F(FrmTestTest, CtrlAltJOnceThenTheTestModeButtonOpensIt) {
    frmMain& frm = connectIdle();
    frm.Show(false);
    QApplication::setActiveWindow(&frm);
    frm.cmdReset->setFocus();
    ASSERT_TRUE(frm.cmdReset->hasFocus());
    scripted::unit().sends.clear();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_J, Qt::ControlModifier | Qt::AltModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &key);
    EXPECT_EQ(scripted::commands(), (std::vector<std::string>{"t1"}));
    ASSERT_TRUE(frm.cmdDebug->visible());
    std::string sDuring;
    auto pLeftOpen = pDuringDialog<frmTest>([&](frmTest& d) {
        auto cap = [](const ui::Control* p) { return p->caption().value_or(""); };
        sDuring = sJoined({d.caption(), cap(d.FrameSetting), cap(d.lbl1[1]), cap(d.lbl1[2]), cap(d.optDisplay[1]),
                           cap(d.optDisplay[0]), cap(d.cmdOk), cap(d.cmdCancel),
                           std::to_string(d.parentWidget() == &frm) + std::to_string(frm.booTimerEnabled()) +
                               std::to_string(d.backColor() == lColorLight() && d.foreColor() == lColorDark()) +
                               std::to_string(d.lbl1[0]->visible() || d.txtPreHeat[0]->visible())});
        d.cmdOk->click();
    });
    ASSERT_TRUE(frm.cmdDebug->click());
    EXPECT_FALSE(*pLeftOpen);
    // Over the main window, the polling on, the console's colours, neither the
    // cephalostat nor the pre-heat rows on offer.
    EXPECT_EQ(sDuring, "Equipment Setting|Equipment Setting|Auto Power OFF|Exhibition|ON|OFF|OK|Cancel|1110");
    EXPECT_EQ(scripted::commands(), (std::vector<std::string>{"t1", "ap1", "sp0"}));
}

}  // namespace
