// frmWorklist, the choice of the patient from the modality worklist: today's
// scheduled steps for this station, sorted by time, the first one selected.
// The keyboard leads: typing filters the list (name in every group, patient
// ID, procedure), the arrows move the selection while the filter box keeps
// the focus, Enter picks, Esc cancels. Refresh asks the worklist again.
//
// The operations are in frm_worklist.cpp; the controls and where they stand
// are in frm_worklist_layout.cpp.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "dicom/worklist_entry.h"
#include "ui/controls.h"
#include "ui/form.h"

class frmWorklist : public ui::Form {
public:
    explicit frmWorklist(QWidget* owner = nullptr);

    // Set by the caller before the window is shown.
    std::string m_sStation;  // the station's AE title, in the caption
    // Asks the worklist again for Refresh; false keeps the list as it is.
    std::function<bool(std::vector<tWorklistEntry>&)> m_fnAsk;
    void vSetEntries(std::vector<tWorklistEntry> entries);

    // Read back when the window has closed.
    bool m_booPicked = false;
    tWorklistEntry m_tPicked;

    void Form_Load() override;
    void Form_KeyDown(int KeyCode, int Shift) override;
    void txtFilter_Change();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdRefresh_Click();
    void vSetDisp();
    // The entry of the selected row, or null.
    const tWorklistEntry* pSelected() const;

    // --- controls (frm_worklist_layout.cpp) ---
    ui::Label* lblFilter = nullptr;
    ui::TextBox* txtFilter = nullptr;
    ui::Label* lblCount = nullptr;
    ui::ListView* lvwList = nullptr;
    ui::Label* lblEmpty = nullptr;
    ui::CommandButton* cmdRefresh = nullptr;
    ui::CommandButton* cmdOK = nullptr;
    ui::CommandButton* cmdCancel = nullptr;

private:
    void vCreateControls();
    void vConnectHandlers();
    // Fills the rows with the entries the filter lets through and selects
    // the entry iKeep (an index into entries_) when shown, else the first row.
    void vFillList(int iKeep);
    void vMoveSelection(int iBy);

    std::vector<tWorklistEntry> entries_;
    std::vector<int> shown_;  // entries_ index of each row
};
