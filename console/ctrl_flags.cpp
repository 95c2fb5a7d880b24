#include "console/ctrl_flags.h"

bool booCtrlFlagsForStat(int32_t lStat, int32_t lMoveKind, int32_t lTestMode, int32_t lPictHalf,
                         tCtrlFlags& tFlags) {
    tCtrlFlags t;
    switch (lStat) {
    case 0:  // idle: READY only once the unit has confirmed a position
        t.booControls = true;
        t.booReady = lMoveKind != 0;
        t.booReset = true;
        break;
    case 1: case 11: case 16: case 20: case 101:  // the unit is busy: only Close
        break;
    case 3: case 4: case 7: case 9: case 10: case 15: case 17: case 18: case 19: case 21: case 100:
        t.booReset = true;
        break;
    case 5: case 6: case 8:
        t.booReady = true;
        break;
    case 12: case 13: case 14:  // image on its way: nothing may interrupt it
        t.booClose = false;
        break;
    default:
        return false;
    }
    // The service operator may always press READY and RESET.
    if (lTestMode == 1) {
        t.booReady = true;
        t.booReset = true;
    }
    // Between the two halves of a TMJ exposure the conditions stay as exposed.
    if (lPictHalf != 0) t.booControls = false;
    tFlags = t;
    return true;
}
