// The equipment setting dialog's switches: automatic power-off and the
// exhibition display.
#include "app/messages.h"
#include "link/commands.h"
#include "link/transaction.h"

namespace {
// A failed switch releases the device; the dialog stays open and says so.
bool booSendSwitch(BusyWindow& frmOwner, const std::string& sCmd, int32_t& lResult) {
    lSendCommand(frmOwner, sCmd, lResult, true);
    if (lResult == 0) return true;
    vLinkClose();
    vShowErrMsg(mainWindow().hWnd(), lResult, sGetResText(11458));
    return false;
}
}  // namespace

int32_t lSendEquipSetting(int32_t lCephPlace, int32_t lAutoPower, int32_t lDisplayMode,
                          const int32_t alPreHeat[6], BusyWindow& frmOwner) {
    // The cephalostat side and the pre-heat values are kept in the settings
    // only; the unit is not told of them.
    (void)lCephPlace;
    (void)alPreHeat;
    int32_t lResult = 0;
    if (!booSendSwitch(frmOwner, "ap" + std::to_string(lAutoPower), lResult)) return lResult;
    if (!booSendSwitch(frmOwner, "sp" + std::to_string(lDisplayMode), lResult)) return lResult;
    return 0;
}
