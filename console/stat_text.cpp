#include "console/stat_text.h"

#include <algorithm>
#include <limits>

#include "link/commands.h"

namespace {
// The text of the unit's error n is row 21000 + n - 1. A number outside the
// table shows the fallback text of its row number; the unit may send any
// digits, so the row number is held within the 32-bit range.
int32_t lErrorTextNo(int32_t lErrNo) {
    const int64_t llNo = 21000 + static_cast<int64_t>(lErrNo) - 1;
    return static_cast<int32_t>(std::clamp<int64_t>(llNo, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}
}  // namespace

int32_t lStatTextNo(const tStatInputs& t) {
    switch (t.lStat) {
    case 0:
        // Idle. Until the unit has confirmed a position the operator must
        // first bring it there with RESET; a mode READY refuses says so.
        if (t.lMoveKind != 0) return t.booNoExposure ? TEXT_NO_EXPOSURE : 11452;
        if (t.lUnitPos == 1) return 11450;
        if (t.lUnitPos == 2) return 11470;
        return t.lDefMode < 5 ? 11450 : 11470;
    case 1: return 11460;
    case 3: return 11451;
    case 4: return 11471;
    case 5: return 11468;
    case 6: return 11469;
    case 7: return 11453;
    case 9: return lErrorTextNo(t.lErrNo);
    case 10: return 11454;
    case 11: return t.booTransfer ? 11456 : 11455;
    case 12: return 11456;
    case 13: return 11457;
    case 15: return 11492;
    case 16: return 11493;
    case 17: return 11494;
    case 18: return 11495;
    case 21: return t.lCoolTime >= 1 ? 11498 : 0;
    default: return 0;  // 8, 19, 100, 101 and unknown states
    }
}

int32_t lProgressPhase(int32_t lStat, bool booTransfer) {
    switch (lStat) {
    case 10: return 1;
    case 11: return booTransfer ? 3 : 2;
    case 12: return 3;
    case 13: return 4;
    default: return 0;
    }
}

std::string sFormatNumber(const std::string& sPattern, int32_t lValue) {
    // The first run of '#' takes all the digits; further '#' add none.
    std::string sOut;
    bool booPlaced = false;
    for (size_t i = 0; i < sPattern.size(); ++i) {
        if (sPattern[i] != '#') {
            sOut += sPattern[i];
            continue;
        }
        if (!booPlaced) sOut += std::to_string(lValue);
        booPlaced = true;
        while (i + 1 < sPattern.size() && sPattern[i + 1] == '#') ++i;
    }
    return sOut;
}

std::string sPhaseClip(int32_t lPhase) {
    switch (lPhase) {
    case 1: return "Animation/STARTIMG.avi";
    case 2: return "Animation/TAKEIMG.avi";
    case 3: return "Animation/GETIMG.avi";
    case 4: return "Animation/PROIMG.avi";
    default: return "";
    }
}
