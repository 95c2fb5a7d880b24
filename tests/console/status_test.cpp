// The status panel's texts and looks and the progress clips per state.
#include <gmock/gmock.h>

#include <QDir>
#include <QFile>
#include <cstdlib>

#include "app/app_state.h"
#include "tests/console/console_fixture.h"
#include "ui/color.h"

namespace {
struct tTextRow {
    int32_t lStat;
    int32_t lMoveKind;
    int32_t lUnitPos;
    const char* sText;
};

void PrintTo(const tTextRow& r, std::ostream* os) { *os << "state " << r.lStat << " move " << r.lMoveKind; }

const tTextRow TEXT_ROWS[] = {
    {0, 1, 1, "Select exposure condition and push READY."},
    {0, 3, 2, "Select exposure condition and push READY."},
    {0, 0, 1, "Equipment does not exist at origin position. Push RESET."},
    {0, 0, 2, "Equipment is not in Cephalo position. Push RESET."},
    {1, 0, 1, "Status of the equipment is being confirmed now."},
    {3, 0, 1, "Equipment is moving to origin position now."},
    {4, 0, 1, "Equipment is turning to Cephalo position."},
    {5, 0, 1, "Push READY button."},
    {6, 0, 1, "Push READY button."},
    {7, 0, 1, "Sensor is being initialized now."},
    {10, 0, 1, "Start exposure."},
    {12, 0, 1, "Data is being transferred now. Don't turn off power supply of equipment."},
    {13, 0, 1, "Image is being processed now."},
    {15, 0, 1, "Waiting for finish of READY. "},
    {16, 0, 1, "Waiting for complete of movement."},
    {17, 0, 1, "Movement has completed."},
    {18, 0, 1, "Movement stopped."},
};

// Copies the staged clips into the test's program folder (false when the
// build staged none).
bool booStageClips(const QString& sProg) {
    const char* sStage = std::getenv("ZYR_STAGE_DIR");
    if (sStage == nullptr) return false;
    const QDir from(QString::fromUtf8(sStage) + "/Animation");
    if (!from.exists("START.avi")) return false;
    QDir(sProg).mkpath("Animation");
    for (const QString& s : from.entryList({"*.avi"}, QDir::Files))
        QFile::copy(from.filePath(s), sProg + "/Animation/" + s);
    return true;
}
}  // namespace

class StatusTextTest : public ConsoleTest, public ::testing::WithParamInterface<tTextRow> {};

TEST_P(StatusTextTest, ShowsTheStateTextInBlackNormalLook) {
    const tTextRow r = GetParam();
    frmMain& frm = load();
    frm.spnlStat->setLook(ui::PanelLook::Alert);
    App.g_lMoveKind = r.lMoveKind;
    frm.f.m_lUnitPos = r.lUnitPos;
    frm.vSetStat(r.lStat);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), r.sText);
    EXPECT_EQ(frm.spnlStat->look(), ui::PanelLook::Normal);
    EXPECT_EQ(frm.spnlStat->foreColor(), ui::RGB(0, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(States, StatusTextTest, ::testing::ValuesIn(TEXT_ROWS));

TEST_F(ConsoleTest, IdleTextWithUnknownPositionDependsOnStartMode) {
    frmMain& frm = load();
    frm.f.m_lUnitPos = 3;
    frm.vSetStat(0);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Equipment does not exist at origin position. Push RESET.");
    App.g_lDefMode = 5;
    frm.vSetStat(1);
    frm.vSetStat(0);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Equipment is not in Cephalo position. Push RESET.");
}

TEST_F(ConsoleTest, ErrorStateShowsTheUnitsErrorText) {
    frmMain& frm = load();
    frm.f.m_lErrNo = 5;
    frm.vSetStat(9);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "X-ray SW Error");
    frm.f.m_lErrNo = 21;
    frm.vSetStat(9);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Not defined error e21");
}

TEST_F(ConsoleTest, UnderExposureIsOrangeAlert) {
    frmMain& frm = load();
    frm.vSetStat(11);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Under exposure.");
    EXPECT_EQ(frm.spnlStat->look(), ui::PanelLook::Alert);
    EXPECT_EQ(frm.spnlStat->foreColor(), ui::RGB(255, 128, 30));
}

TEST_F(ConsoleTest, TmjExposureTellsWhichHalf) {
    vSetKey("DefMode", "2");
    frmMain& frm = load();
    frm.vSetStat(11);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Under exposure. (1)");
    App.g_lPictHalf = 1;
    frm.vSetStat(11);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Under exposure. (2)");
    EXPECT_EQ(frm.spnlStat->foreColor(), ui::RGB(255, 128, 30));
}

TEST_F(ConsoleTest, DataTransferDuringExposureIsBlack) {
    frmMain& frm = load();
    frm.f.m_booTransfer = true;
    frm.vSetStat(11);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""),
              "Data is being transferred now. Don't turn off power supply of equipment.");
    EXPECT_EQ(frm.spnlStat->look(), ui::PanelLook::Normal);
    EXPECT_EQ(frm.spnlStat->foreColor(), ui::RGB(0, 0, 0));
}

TEST_F(ConsoleTest, SameTextIsNotWrittenAgain) {
    frmMain& frm = load();
    frm.vSetStat(3);
    // Someone else changed the look: an unchanged text leaves it alone.
    frm.spnlStat->setLook(ui::PanelLook::Cooling);
    frm.spnlStat->setForeColor(ui::RGB(1, 2, 3));
    frm.vSetStat(3);
    EXPECT_EQ(frm.spnlStat->look(), ui::PanelLook::Cooling);
    EXPECT_EQ(frm.spnlStat->foreColor(), ui::RGB(1, 2, 3));
}

TEST_F(ConsoleTest, StatesWithoutTextKeepTheLastOne) {
    frmMain& frm = load();
    for (int32_t l : {8, 19, 100, 101}) {
        frm.vSetStat(3);
        frm.vSetStat(l);
        EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Equipment is moving to origin position now.") << l;
    }
    frm.f.m_lCoolTime = 0;
    frm.vSetStat(21);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Equipment is moving to origin position now.");
    EXPECT_FALSE(frm.Animation2->visible());
}

TEST_F(ConsoleTest, CoolingLineIsRewrittenEachTimeInCoolingLook) {
    frmMain& frm = load();
    frm.f.m_lCoolTime = 12;
    frm.vSetStat(21);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Cooling Time  Wait for");
    EXPECT_EQ(frm.spnlStat->look(), ui::PanelLook::Cooling);
    const bool booBlink = frm.f.m_tPoll.booCoolBlink;
    frm.spnlStat->setCaption("x");
    frm.vSetStat(21);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Cooling Time  Wait for");
    EXPECT_NE(frm.f.m_tPoll.booCoolBlink, booBlink);
}

TEST_F(ConsoleTest, ProgressClipPerPhase) {
    if (!booStageClips(progDir_->path())) GTEST_SKIP() << "no staged clips";
    frmMain& frm = load();
    const struct {
        int32_t lStat;
        bool booTransfer;
        bool booShown;
    } rows[] = {{10, false, true}, {11, false, true}, {11, true, true}, {12, false, true},
                {13, false, true}, {0, false, false}, {7, false, false}, {21, false, false}};
    for (const auto& r : rows) {
        frm.f.m_booTransfer = r.booTransfer;
        frm.vSetStat(r.lStat);
        EXPECT_EQ(frm.Animation2->visible(), r.booShown) << r.lStat;
        EXPECT_EQ(frm.Animation2->isOpen(), r.booShown) << r.lStat;
        EXPECT_EQ(frm.Animation2->isPlaying(), r.booShown) << r.lStat;
    }
}

TEST_F(ConsoleTest, MissingProgressClipHidesTheAreaButTheTextChanges) {
    frmMain& frm = load();  // no Animation folder beside this program
    frm.vSetStat(10);
    EXPECT_FALSE(frm.Animation2->visible());
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Start exposure.");
}

TEST_F(ConsoleTest, StartClipPlaysInReadysPlace) {
    if (!booStageClips(progDir_->path())) GTEST_SKIP() << "no staged clips";
    frmMain& frm = load();
    frm.vSetReadyButton(1);
    EXPECT_TRUE(frm.Animation1->visible());
    EXPECT_TRUE(frm.Animation1->isPlaying());
    EXPECT_EQ(frm.Animation1->container(), frm.cmdStart->container());
    EXPECT_EQ(frm.Animation1->left(), frm.cmdStart->left());
    frm.vSetReadyButton(0);
    EXPECT_FALSE(frm.Animation1->visible());
    EXPECT_FALSE(frm.Animation1->isOpen());
}
