// Where the unit and the exposure stand: the status panel's line and look,
// the progress clip of each exposure phase and the start clip over READY.
#include "app/app_state.h"
#include "app/file_utils.h"
#include "app/messages.h"
#include "console/frm_main.h"
#include "console/stat_text.h"
#include "link/commands.h"
#include "platform/program_folder.h"
#include "ui/color.h"
#include "ui/look.h"

namespace {
constexpr int32_t TEXT_NORMAL = ui::RGB(0, 0, 0);
constexpr int32_t TEXT_ALERT = ui::RGB(255, 128, 30);
constexpr int32_t TEXT_UNDER_EXPOSURE = 11455;

// An animation area put away: no clip, its background, out of sight.
void vHideAnimation(ui::AnimationArea& a) {
    a.setBackColor(lColorLight());
    a.setAutoPlay(false);
    a.stop();
    a.close();
    a.setVisible(false);
}

void vPlayAnimation(ui::AnimationArea& a, const std::string& sPath) {
    a.setAutoPlay(true);
    if (a.open(sPath)) {
        a.setVisible(true);
    } else {
        vHideAnimation(a);  // a missing clip is not the operator's concern
    }
}
}  // namespace

void frmMain::vShowStat() {
    tStatInputs t;
    t.lStat = App.g_lStat;
    t.lMoveKind = App.g_lMoveKind;
    t.lUnitPos = f.m_lUnitPos;
    t.lDefMode = App.g_lDefMode;
    t.lErrNo = f.m_lErrNo;
    t.lCoolTime = f.m_lCoolTime;
    t.booTransfer = f.m_booTransfer;
    t.booNoExposure = sModeCode(f.m_lModeIdx).empty();
    const int32_t lTextNo = lStatTextNo(t);

    vProgressAnim(lProgressPhase(App.g_lStat, f.m_booTransfer));
    if (lTextNo == 0) return;  // the panel keeps its last text

    if (App.g_lStat == 21) {
        // The cooling line counts down, so it is written every time.
        f.m_tPoll.booCoolBlink = !f.m_tPoll.booCoolBlink;
        spnlStat->setLook(ui::PanelLook::Cooling);
        spnlStat->setCaption(sGetResText(11498) + "  " + sFormatNumber(sGetResText(11499), f.m_lCoolTime));
        Refresh();
        return;
    }

    std::string sText = sGetResText(lTextNo);
    if (spnlStat->caption().value_or("") == sText) return;  // no flicker
    const bool booAlert = lTextNo == TEXT_UNDER_EXPOSURE;
    spnlStat->setLook(booAlert ? ui::PanelLook::Alert : ui::PanelLook::Normal);
    spnlStat->setForeColor(booAlert ? TEXT_ALERT : TEXT_NORMAL);
    // The TMJ exposure runs in two halves; tell the operator which one.
    if (App.g_lDefMode == 2 && booAlert) sText += " (" + std::to_string(App.g_lPictHalf + 1) + ")";
    spnlStat->setCaption(sText);
    Refresh();
}

void frmMain::vSetStatText(const std::string& sText) { spnlStat->setCaption(sText); }

void frmMain::vProgressAnim(int32_t lPhase) {
    Refresh();
    std::string sPath;
    const std::string sClip = sPhaseClip(lPhase);
    if (!sClip.empty()) booBuildPath(platform::sProgramFolder(), sClip, sPath);

    if (lPhase != 0) {
        vPlayAnimation(*Animation2, sPath);
    } else {
        vHideAnimation(*Animation2);
    }
    vDoEvents();
}

void frmMain::vStartAnim(bool booShow) {
    std::string sPath = platform::sProgramFolder();
    if (sPath.empty() || sPath.back() != '/') sPath += '/';
    sPath += "Animation/START.avi";
    Refresh();

    if (booShow) {
        vPlayAnimation(*Animation1, sPath);
    } else {
        vHideAnimation(*Animation1);
    }
    if (!Animation1->visible()) cmdStart->zOrderFront();
    Animation1->move(cmdStart->left(), cmdStart->top());
    Refresh();
}
