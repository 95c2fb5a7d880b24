#include "app/frm_initializing.h"

#include <QCoreApplication>
#include <limits>

#include "app/messages.h"
#include "platform/tick_clock.h"
#include "ui/look.h"

namespace {
constexpr uint32_t FULL_BAR_PAUSE_MS = 300;
}

int16_t iToBarValue(int64_t lValue) {
    // Retry times beyond the bar's range are shown as its largest value.
    if (lValue > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    if (lValue < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(lValue);
}

frmInitializing::frmInitializing(QWidget* owner)
    : ui::Form(owner),
      lblWait(add<ui::Label>("lblWait", nullptr, 240, 240, 5520, 660)),
      lblDebug(add<ui::Label>("lblDebug", nullptr, 240, 1560, 5520, 300)),
      prgRetryInit(add<ui::ProgressBar>("prgRetryInit", nullptr, 240, 1020, 5520, 390)) {
    setWidth(6000);
    setHeight(2100);
}

void frmInitializing::Form_Load() {
    vDelSysMenu(*this);
    vCenterForm(*this);
    vSetBackColor(*this);
    vSetForeColor(*this);
    setCaption("ZYRPLUS");
    lblWait.setCaption(sGetResText(20102));
    lblDebug.setVisible(false);
}

void frmInitializing::InitProgBar(int16_t iMin, int16_t iMax) {
    const int32_t lMin = iMin < 0 ? 0 : iMin;
    const int32_t lMax = iMax < lMin ? lMin + 1 : iMax;
    prgRetryInit.setMax(lMax);
    prgRetryInit.setMin(lMin);
    prgRetryInit.setValue(lMin);
}

void frmInitializing::UpdateProgBar(int16_t iVal) {
    int32_t lVal = iVal;
    if (prgRetryInit.min() > lVal) {
        lVal = prgRetryInit.min();
    } else if (prgRetryInit.max() < lVal) {
        lVal = prgRetryInit.max();
    }
    prgRetryInit.setValue(lVal);
    prgRetryInit.refresh();

    if (prgRetryInit.value() < prgRetryInit.max()) return;
    // Let the operator see the full bar before the window goes; the window
    // keeps answering meanwhile.
    uint32_t ulStart = platform::GetTickCount();
    for (;;) {
        const uint32_t ulNow = platform::GetTickCount();
        if (ulNow < ulStart) ulStart = ulNow;
        if (ulNow - ulStart > FULL_BAR_PAUSE_MS) break;
        platform::Sleep(1);
        QCoreApplication::processEvents();
    }
}
