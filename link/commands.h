// The console operations that exist only to send commands to the unit.
#pragma once
#include <cstdint>
#include <string>

#include "app/main_ops.h"

// Sends sCmd as a transaction of the main window. On failure shows 11458
// with the code, closes the main window and returns false.
bool booSendOrClose(const std::string& sCmd);

// The mode code of mode picture lModeIdx ("P1_A", "P1_C", "T4"; empty for an
// index without a picture).
std::string sModeCode(int32_t lModeIdx);
// The exposure command of the selected mode with g_lVolt and g_lElec; empty
// for a mode without a code (the cephalometric side), which is not exposed.
std::string sExposureCommand(int32_t lModeIdx);
// The status text READY shows when the selected mode has no exposure code.
constexpr int32_t TEXT_NO_EXPOSURE = 11472;

// RESET: the command and the state it leads to depend on the current state.
void vResetProc();
// READY, second stage: prepares the sensor and sends the exposure command
// (or "d1" in half and package mode).
void vStartExposure();
// Ctrl+Alt+J (test), K (half), L (package): toggles that service mode.
void vServiceKey(int32_t lKeyCode);
// The equipment setting dialog's switches: "ap" + lAutoPower, then "sp" +
// lDisplayMode. 0 when both were acknowledged, else the failed one's result.
// lCephPlace and alPreHeat are not sent to the unit.
int32_t lSendEquipSetting(int32_t lCephPlace, int32_t lAutoPower, int32_t lDisplayMode,
                          const int32_t alPreHeat[6], BusyWindow& frmOwner);
