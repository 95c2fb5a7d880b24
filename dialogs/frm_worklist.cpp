// The worklist window's operations: the rows the filter lets through, the
// selection the keys move, and the ways out (OK, Enter or a double click
// picks; Cancel, Esc or the close control does not).
#include "dialogs/frm_worklist.h"

#include <QString>

#include "app/messages.h"
#include "dialogs/worklist_texts.h"
#include "ui/key_codes.h"
#include "ui/look.h"

namespace {
constexpr int KEY_RETURN = 0x0D;
constexpr int KEY_ESCAPE = 0x1B;
constexpr int KEY_PAGEUP = 0x21;
constexpr int KEY_PAGEDOWN = 0x22;
constexpr int KEY_UP = 0x26;
constexpr int KEY_DOWN = 0x28;
constexpr int PAGE_ROWS = 10;

// What the procedure column shows: the requested procedure, else the step.
std::string sProcedure(const tWorklistEntry& e) {
    const tPatientKeys& k = e.tKeys;
    if (!k.sRequestedProcedureDescription.empty()) return k.sRequestedProcedureDescription;
    if (!k.sScheduledStepDescription.empty()) return k.sScheduledStepDescription;
    return k.sRequestedProcedureId;
}

bool booMatches(const tWorklistEntry& e, const QString& sFilter) {
    if (sFilter.isEmpty()) return true;
    const tPatientKeys& k = e.tKeys;
    const std::string sHay = sSearchName(k.sPatientName) + " " + k.sPatientId + " " + sProcedure(e) + " " +
                             k.sRequestedProcedureId + " " + k.sScheduledStepDescription;
    return QString::fromStdString(sHay).contains(sFilter, Qt::CaseInsensitive);
}
}  // namespace

void frmWorklist::Form_Load() {
    vCenterForm(*this);
    vSetDisp();
    vFillList(0);
    txtFilter->setFocus();
}

void frmWorklist::vSetDisp() {
    setCaption(sFillIn(sGetResText(13700), m_sStation));
    vSetBackColor(*this);
    vSetForeColor(*this);
    lblFilter->setCaption(sGetResText(13707));
    lvwList->setColumns({{sGetResText(13701), 3000},
                         {sGetResText(13702), 1500},
                         {sGetResText(13703), 1400},
                         {sGetResText(13704), 700},
                         {sGetResText(13705), 3300},
                         {sGetResText(13706), 900}});
    lblEmpty->setCaption(sGetResText(13711));
    cmdRefresh->setCaption(sGetResText(13708));
    cmdOK->setCaption(sGetResText(13709));
    cmdCancel->setCaption(sGetResText(13710));
}

void frmWorklist::vSetEntries(std::vector<tWorklistEntry> entries) {
    entries_ = std::move(entries);
    if (isLoaded()) vFillList(0);
}

void frmWorklist::vFillList(int iKeep) {
    const QString sFilter = QString::fromStdString(txtFilter->text()).trimmed();
    shown_.clear();
    lvwList->clear();
    int iRow = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const tWorklistEntry& e = entries_[i];
        if (!booMatches(e, sFilter)) continue;
        if (static_cast<int>(i) == iKeep) iRow = static_cast<int>(shown_.size());
        shown_.push_back(static_cast<int>(i));
        lvwList->addRow({sDisplayName(e.tKeys.sPatientName), e.tKeys.sPatientId, sDisplayDate(e.tKeys.sBirthDate),
                         e.tKeys.sSex, sProcedure(e), sDisplayTime(e.sStartTime)});
    }
    lvwList->setListIndex(shown_.empty() ? -1 : iRow);
    lblCount->setCaption(sFillIn(sGetResText(13712), std::to_string(shown_.size()), std::to_string(entries_.size())));
    lblEmpty->setVisible(entries_.empty());
    cmdOK->setEnabled(pSelected() != nullptr);
}

const tWorklistEntry* frmWorklist::pSelected() const {
    const int i = lvwList->listIndex();
    if (i < 0 || i >= static_cast<int>(shown_.size())) return nullptr;
    return &entries_[static_cast<size_t>(shown_[static_cast<size_t>(i)])];
}

void frmWorklist::vMoveSelection(int iBy) {
    const int n = lvwList->rowCount();
    if (n == 0) return;
    int i = lvwList->listIndex() + iBy;
    if (i < 0) i = 0;
    if (i >= n) i = n - 1;
    lvwList->setListIndex(i);
}

void frmWorklist::txtFilter_Change() {
    const tWorklistEntry* p = pSelected();
    vFillList(p != nullptr ? static_cast<int>(p - entries_.data()) : 0);
}

void frmWorklist::Form_KeyDown(int KeyCode, int Shift) {
    if (Shift != 0) return;
    switch (KeyCode) {
        case KEY_UP: vMoveSelection(-1); break;
        case KEY_DOWN: vMoveSelection(1); break;
        case KEY_PAGEUP: vMoveSelection(-PAGE_ROWS); break;
        case KEY_PAGEDOWN: vMoveSelection(PAGE_ROWS); break;
        case KEY_ESCAPE: cmdCancel_Click(); break;
        case KEY_RETURN:
            // Enter on a focused button is that button's press.
            if (cmdCancel->hasFocus()) cmdCancel_Click();
            else if (cmdRefresh->hasFocus()) cmdRefresh_Click();
            else cmdOK_Click();
            break;
        default: break;
    }
}

void frmWorklist::cmdOK_Click() {
    const tWorklistEntry* p = pSelected();
    if (p == nullptr) return;
    m_tPicked = *p;
    m_booPicked = true;
    Unload(ui::vbFormCode);
}

void frmWorklist::cmdCancel_Click() {
    m_booPicked = false;
    Unload(ui::vbFormCode);
}

void frmWorklist::cmdRefresh_Click() {
    if (!m_fnAsk) return;
    std::vector<tWorklistEntry> fresh;
    if (!m_fnAsk(fresh)) return;
    // The same step stays selected when it is still scheduled.
    const tWorklistEntry* p = pSelected();
    const std::string sStep = p != nullptr ? p->tKeys.sStudyUid + "|" + p->tKeys.sScheduledStepId : std::string();
    entries_ = std::move(fresh);
    int iKeep = 0;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].tKeys.sStudyUid + "|" + entries_[i].tKeys.sScheduledStepId == sStep) iKeep = static_cast<int>(i);
    vFillList(iKeep);
    txtFilter->setFocus();
}
