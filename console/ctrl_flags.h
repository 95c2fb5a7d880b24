// Which operator controls a console state allows: the mode pictures, arrows
// and size buttons, READY, RESET and Close.
#pragma once
#include <cstdint>

struct tCtrlFlags {
    bool booControls = false;  // arrows, size buttons, mode pictures
    bool booReady = false;
    bool booReset = false;
    bool booClose = true;
};

// Forms the flags for the state. Returns false for a state that changes
// nothing (the controls keep what they have).
bool booCtrlFlagsForStat(int32_t lStat, int32_t lMoveKind, int32_t lTestMode, int32_t lPictHalf,
                         tCtrlFlags& tFlags);
