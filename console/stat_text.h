// What the status panel and the progress clip show for a console state.
#pragma once
#include <cstdint>
#include <string>

// The values the status line of a state depends on.
struct tStatInputs {
    int32_t lStat = 0;
    int32_t lMoveKind = 0;   // g_lMoveKind
    int32_t lUnitPos = 1;    // m_lUnitPos
    int32_t lDefMode = 0;    // g_lDefMode
    int32_t lErrNo = 0;      // m_lErrNo
    int32_t lCoolTime = 0;   // m_lCoolTime
    bool booTransfer = false;  // m_booTransfer
    bool booNoExposure = false;  // the selected mode has no exposure code
};

// Resource text number of the state's status line; 0 when the state shows
// no new text (the panel keeps its last one).
int32_t lStatTextNo(const tStatInputs& t);

// Progress clip phase: 0 none, 1 STARTIMG, 2 TAKEIMG, 3 GETIMG, 4 PROIMG.
int32_t lProgressPhase(int32_t lStat, bool booTransfer);

// The cooling time written into a number pattern in which '#' stands for
// the digits; a pattern without '#' shows no number.
std::string sFormatNumber(const std::string& sPattern, int32_t lValue);

// Relative clip file of a progress phase ("" for phase 0 and unknown phases).
std::string sPhaseClip(int32_t lPhase);
