// The receive scanner: turns the bytes the unit sends into link events, one
// event per call (an ACK, a NAK, or a verified frame that it acknowledges).
#pragma once
#include <string>

// Processes at most one link event: either resumes in the bytes left over
// from the last read or reads anew from the library. Leaves the event in
// App.g_sLinkAnswer; a negative read sets App.g_booLinkErr.
void vRecvProc();

// The text of the last accepted frame (blanks trimmed), or empty; empties
// App.g_sLinkAnswer.
std::string sGetAnswer();
