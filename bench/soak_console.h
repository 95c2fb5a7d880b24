// The staged console as the soak and fault runs drive it: the shared
// staged console (tools/staged_console.h) with the library's link trace
// (Trace=<file>), which is how a run sees the console talk to the unit, and
// READY pressed until the exposure command is on the link.
#pragma once
#include <QString>

#include "bench/soak_proc.h"
#include "tools/staged_console.h"

namespace soak {

class Console : public StagedConsole {
public:
    // booMake, with the link traced; prints the FAIL line when it cannot.
    bool booPrepare(const QString& sStage);
    QString tracePath() const { return folder() + "/link.trace"; }
    // True when the link trace holds the text after its first llFrom bytes.
    bool booTraceHas(const char* sText, qint64 llFrom = 0) const;
    // Clicks READY until the link trace shows an exposure command.
    bool booPressReady(int iTimeoutMs);
};

// ImageMagick's identify checks the runs' bitmaps: false, with the FAIL
// line, when it is not installed.
bool booIdentifyInstalled();
// True when identify reads the file as a picture.
bool booIdentifies(const QString& sPath);

}  // namespace soak
