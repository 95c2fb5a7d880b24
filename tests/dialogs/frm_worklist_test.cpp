// The choice from the worklist as the operator makes it, against DCMTK's
// worklist server on loopback: the list as it opens, the keys from the
// filter box, the filter, Refresh, and each way the choice ends, with what
// it leaves for the image and for the exit line.
#include <QApplication>
#include <QKeyEvent>

#include "app/app_state.h"
#include "app/run_end.h"
#include "dialogs/frm_worklist.h"
#include "dialogs/worklist_choice.h"
#include "resources/string_table.h"
#include "tests/dialogs/dialog_test.h"
#include "tests/support/dialog_during.h"
#include "tests/support/program_fixture.h"
#include "tests/support/worklist_peer.h"
#include "ui/look.h"

namespace {

using zyrtest::tWlEntry;
using zyrtest::WorklistPeer;

tWlEntry entry(const std::string& sId, const std::string& sName, const std::string& sTime,
               const std::string& sProcedure = "Panoramic") {
    tWlEntry e;
    e.sPatientId = sId;
    e.sPatientName = sName;
    e.sTime = sTime;
    e.sBirthDate = "19800102";
    e.sSex = "F";
    e.sStudyUid = "1.2.826.0.1.3680043.2.1143." + sId;
    e.sAccession = "ACC" + sId;
    e.sRequestedId = "RP" + sId;
    e.sRequestedDescription = sProcedure;
    e.sStepId = "SPS" + sId;
    return e;
}

class WorklistChoiceTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        platform::vSetMsgBoxResponder([this](const platform::MsgBoxCall& c) {
            boxes_.push_back(c);
            if (auto h = onBox) h();
            return lBoxAnswer_;
        });
        lBoxAnswer_ = platform::IDCANCEL;
    }
    tDicomSettings settings(const WorklistPeer& peer) const {
        tDicomSettings t;
        t.booEnabled = true;
        t.sStationAE = "ZYRPANWEQ";
        std::string sWhy;
        EXPECT_TRUE(booParsePeer(peer.sPeer(), t.tWorklist, sWhy)) << sWhy;
        return t;
    }
    // Runs the choice; action acts on the window while it is up.
    int choose(const WorklistPeer& peer, std::function<void(frmWorklist&)> action) {
        shown_ = false;
        auto pLeftOpen = pDuringDialog<frmWorklist>([&](frmWorklist& d) {
            shown_ = true;
            QApplication::setActiveWindow(&d);
            d.txtFilter->setFocus();
            action(d);
        });
        const int i = iChoosePatientFromWorklist(settings(peer), picked_);
        // A run that never opened the window leaves the action waiting: let
        // it find no window now rather than a later test's.
        QApplication::processEvents();
        leftOpen_ = *pLeftOpen;
        return i;
    }
    static void key(int qtKey, const QString& text = {}) {
        QKeyEvent e(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
        QApplication::sendEvent(QApplication::focusWidget(), &e);
    }
    static void type(const std::string& s) {
        for (char c : s) key(Qt::Key_A + (std::toupper(c) - 'A'), QString(QChar(c)));
    }
    static std::string rows(const frmWorklist& d) {
        std::string s;
        for (int r = 0; r < d.lvwList->rowCount(); ++r) {
            for (int c = 0; c < 6; ++c) s += d.lvwList->cell(r, c) + (c < 5 ? "," : "");
            s += r == d.lvwList->listIndex() ? "*|" : "|";
        }
        return s;
    }
    bool shown_ = false;
    bool leftOpen_ = false;
    tPatientKeys picked_;
};

// Faults: not sorted by time or first row not selected; a column from the
// wrong key; the arrows dead while the filter box has the focus (or moving
// two rows, the list taking the key as well); Refresh not asking again,
// losing the selection or moving the focus out of the filter box; a failed
// Refresh emptying the list; Enter picking the row under another index; keys
// of the picked entry not all handed over.
TEST_F(WorklistChoiceTest, OpensSortedWithTheFirstSelectedRefreshKeepsTheSelectionAndEnterPicksIt) {
    WorklistPeer peer;
    ASSERT_TRUE(peer.booAdd("a", entry("P3", "Sato^Hana", "140000")) &&
                peer.booAdd("b", entry("P2", "Yamada^Tarou=山田^太郎", "103000", "TMJ")) &&
                peer.booAdd("c", entry("P1", "Ito^Jun", "090000")));
    ASSERT_TRUE(peer.booStart());
    std::vector<std::string> seen;
    const int i = choose(peer, [&](frmWorklist& d) {
        seen.push_back(rows(d) + std::to_string(d.txtFilter->hasFocus()));
        key(Qt::Key_Down);
        ASSERT_TRUE(peer.booAdd("d", entry("P0", "Early^Bird", "080000")));
        d.cmdRefresh->click();
        seen.push_back(rows(d) + std::to_string(d.txtFilter->hasFocus()));
        peer.vStop();
        d.cmdRefresh->click();  // refused: the box, Cancel keeps the list
        seen.push_back(std::to_string(d.lvwList->rowCount()) + " " + std::to_string(boxes_.size()));
        key(Qt::Key_Return);
    });
    EXPECT_EQ(sJoined(seen, "\n"),
              "Ito Jun,P1,1980-01-02,F,Panoramic,09:00*|山田 太郎 (Yamada Tarou),P2,1980-01-02,F,TMJ,10:30|"
              "Sato Hana,P3,1980-01-02,F,Panoramic,14:00|1\n"
              "Early Bird,P0,1980-01-02,F,Panoramic,08:00|Ito Jun,P1,1980-01-02,F,Panoramic,09:00|"
              "山田 太郎 (Yamada Tarou),P2,1980-01-02,F,TMJ,10:30*|Sato Hana,P3,1980-01-02,F,Panoramic,14:00|1\n4 1");
    EXPECT_NE(boxes_.at(0).text.find("Cancel to keep the list as it is."), std::string::npos);
    ASSERT_EQ(i, kWorklistPicked);
    EXPECT_FALSE(leftOpen_);
    EXPECT_EQ(picked_.sPatientId + "|" + picked_.sPatientName + "|" + picked_.sStudyUid + "|" + picked_.sAccession +
                  "|" + picked_.sRequestedProcedureId + "|" + picked_.sRequestedProcedureDescription + "|" +
                  picked_.sScheduledStepId + "|" + picked_.sBirthDate + "|" + picked_.sSex,
              "P2|Yamada^Tarou=山田^太郎|1.2.826.0.1.3680043.2.1143.P2|ACCP2|RPP2|TMJ|SPSP2|19800102|F");
}

// Faults: the filter not applied as one types, or not on every group of
// the name, the ID or the procedure; the selection left on a hidden row (Enter
// picking an entry the operator no longer sees); Up below the first row.
TEST_F(WorklistChoiceTest, TheFilterNarrowsAsOneTypesAndEnterPicksWhatIsShown) {
    WorklistPeer peer;
    ASSERT_TRUE(peer.booAdd("a", entry("P1", "Ito^Jun", "090000")) &&
                peer.booAdd("b", entry("P2", "Yamada^Tarou=山田^太郎=やまだ^たろう", "100000")) &&
                peer.booAdd("c", entry("Q7", "Yamamoto^Ken", "110000", "TMJ left")) &&
                peer.booAdd("d", entry("P4", "Mori^Aki", "120000")));
    ASSERT_TRUE(peer.booStart());
    std::vector<std::string> seen;
    const int i = choose(peer, [&](frmWorklist& d) {
        auto ids = [&] {
            std::string s;
            for (int r = 0; r < d.lvwList->rowCount(); ++r)
                s += d.lvwList->cell(r, 1) + (r == d.lvwList->listIndex() ? "* " : " ");
            return s + d.lblCount->caption().value_or("");
        };
        type("ya");
        seen.push_back(ids());
        d.txtFilter->setText("たろう");
        seen.push_back(ids());
        d.txtFilter->setText("q7");
        seen.push_back(ids());
        d.txtFilter->setText("tmj");
        seen.push_back(ids());
        d.txtFilter->setText("");
        seen.push_back(ids());
        d.txtFilter->setText("yama");
        key(Qt::Key_Up);
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        seen.push_back(ids());
        d.txtFilter->setFocus();
        key(Qt::Key_Enter);
    });
    EXPECT_EQ(sJoined(seen),
              "P2* Q7 2 of 4 shown|P2* 1 of 4 shown|Q7* 1 of 4 shown|Q7* 1 of 4 shown|"
              "P1 P2 Q7* P4 4 of 4 shown|P2 Q7* 2 of 4 shown");
    ASSERT_EQ(i, kWorklistPicked);
    EXPECT_EQ(picked_.sPatientId, "Q7");
}

// Faults: Esc or Cancel not ending the run, or ending it with status 0 or
// without its line; an empty list not said so, its OK allowed; a text of the
// window missing from the string table or left in English under a Japanese
// interface; the console's colours not taken.
TEST_F(WorklistChoiceTest, EscCancelOrClosingAnEmptyListEndsWithStatus1AndItsLineInEitherLanguage) {
    WorklistPeer peer;
    ASSERT_TRUE(peer.booAdd("a", entry("P1", "Ito^Jun", "090000")));
    ASSERT_TRUE(peer.booStart());
    for (int lang : {1, 2}) {
        vSetResLanguage(lang);
        std::string s;
        EXPECT_EQ(choose(peer,
                         [&](frmWorklist& d) {
                             s = d.caption() + "|" + d.lblFilter->caption().value_or("") + "|";
                             for (int c = 0; c < 6; ++c) s += d.lvwList->header(c) + ",";
                             s += "|" + d.cmdRefresh->caption().value_or("") + "|" + d.cmdOK->caption().value_or("") +
                                  "|" + d.cmdCancel->caption().value_or("") + "|" +
                                  d.lblCount->caption().value_or("") + "|" +
                                  std::to_string(d.backColor() == lColorLight() && d.foreColor() == lColorDark());
                             if (lang == 1) key(Qt::Key_Escape);
                             else d.cmdCancel->click();
                         }),
                  kWorklistCancelled);
        EXPECT_FALSE(leftOpen_);
        EXPECT_EQ(sExitLine(1), "ZYR_PAN_WEQ: no image: no patient chosen from the worklist");
        EXPECT_EQ(s, lang == 1 ? "Worklist - scheduled today for ZYRPANWEQ|Filter:|Patient name,Patient ID,Birth "
                                 "date,Sex,Requested procedure,Time,|Refresh|OK|Cancel|1 of 1 shown|1"
                               : "ワークリスト - 本日の予定 (ZYRPANWEQ)|絞り込み:|患者氏名,患者ID,生年月日,性別,"
                                 "依頼検査,予定時刻,|更新|OK|キャンセル|1 件中 1 件を表示|1");
    }
    vSetResLanguage(1);

    WorklistPeer empty;
    tWlEntry other = entry("X1", "Other^Station", "090000");
    other.sStationAE = "OTHER";
    ASSERT_TRUE(empty.booAdd("x", other));
    ASSERT_TRUE(empty.booStart());
    App.g_sRunEnd.clear();
    std::string sState;
    EXPECT_EQ(choose(empty,
                     [&](frmWorklist& d) {
                         key(Qt::Key_Return);
                         sState = std::to_string(d.lvwList->rowCount()) + std::to_string(d.lblEmpty->visible()) +
                                  std::to_string(d.cmdOK->enabled()) + std::to_string(d.isVisible()) + " " +
                                  d.lblEmpty->caption().value_or("");
                         d.close();
                     }),
              kWorklistCancelled);
    EXPECT_EQ(sState, "0101 Nothing is scheduled for this station today.");
    EXPECT_EQ(sExitLine(1), "ZYR_PAN_WEQ: no image: nothing scheduled on the worklist today for ZYRPANWEQ");
}

// Faults: a worklist that is down ending the run without a word, or with no
// way to try again; Retry not asking again; Cancel going on to the unit.
TEST_F(WorklistChoiceTest, AWorklistDownThenUpIsReachedWithRetryAndCancelEndsTheRun) {
    WorklistPeer peer;
    ASSERT_TRUE(peer.booAdd("a", entry("P1", "Ito^Jun", "090000")));
    const int iPort = zyrtest::iFreeLoopbackPort();
    ASSERT_TRUE(peer.booStart(iPort));
    peer.vStop();
    onBox = [&] {
        if (boxes_.size() == 2) {
            ASSERT_TRUE(peer.booStart(iPort));
        }
    };
    lBoxAnswer_ = platform::IDRETRY;
    EXPECT_EQ(choose(peer, [](frmWorklist&) { key(Qt::Key_Return); }), kWorklistPicked);
    EXPECT_EQ(picked_.sPatientId, "P1");
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, "The worklist " + peer.sPeer() +
                                  " refused the connection: no worklist server is running there.\r\n"
                                  "Retry to ask again, Cancel to end without an exposure.");
    EXPECT_EQ(boxes_[0].style, platform::MB_RETRYCANCEL_WARNING);

    peer.vStop();
    boxes_.clear();
    onBox = nullptr;
    lBoxAnswer_ = platform::IDCANCEL;
    EXPECT_EQ(choose(peer, [](frmWorklist&) {}), kWorklistNotReached);
    EXPECT_FALSE(shown_);
    EXPECT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(sExitLine(1), "ZYR_PAN_WEQ: no image: worklist " + peer.sPeer() + " refused the connection");
}

}  // namespace
