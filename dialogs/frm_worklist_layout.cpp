// The worklist window's controls and where they stand (twips).
#include "dialogs/frm_worklist.h"

namespace {
constexpr int32_t FORM_WIDTH = 11400;
constexpr int32_t FORM_HEIGHT = 6450;
}  // namespace

frmWorklist::frmWorklist(QWidget* owner) : ui::Form(owner) {
    vCreateControls();
    vConnectHandlers();
}

void frmWorklist::vCreateControls() {
    setWidth(FORM_WIDTH);
    setHeight(FORM_HEIGHT);

    lblFilter = &add<ui::Label>("lblFilter", nullptr, 120, 165, 1500, 285);
    txtFilter = &add<ui::TextBox>("txtFilter", nullptr, 1680, 90, 4500, 375);
    txtFilter->setMaxLength(64);
    lblCount = &add<ui::Label>("lblCount", nullptr, 6400, 165, 4880, 285);
    lblCount->setAlignment(1);
    lvwList = &add<ui::ListView>("lvwList", nullptr, 120, 570, 11160, 4650);
    lblEmpty = &add<ui::Label>("lblEmpty", nullptr, 120, 5310, 11160, 285);
    cmdRefresh = &add<ui::CommandButton>("cmdRefresh", nullptr, 120, 5760, 1600, 525);
    cmdOK = &add<ui::CommandButton>("cmdOK", nullptr, 7860, 5760, 1600, 525);
    cmdCancel = &add<ui::CommandButton>("cmdCancel", nullptr, 9680, 5760, 1600, 525);
}

void frmWorklist::vConnectHandlers() {
    txtFilter->onChange = [this] { txtFilter_Change(); };
    lvwList->onDblClick = [this] { cmdOK_Click(); };
    lvwList->onChange = [this] { cmdOK->setEnabled(pSelected() != nullptr); };
    cmdOK->onClick = [this] { cmdOK_Click(); };
    cmdCancel->onClick = [this] { cmdCancel_Click(); };
    cmdRefresh->onClick = [this] { cmdRefresh_Click(); };
}
