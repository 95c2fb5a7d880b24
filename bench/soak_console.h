// The staged console as the soak and fault runs drive it: a copy of the
// stage folder with settings of the run's own, the console started there on
// an X display, power on confirmed, READY pressed until the unit link shows
// the exposure command. The library's link trace (Trace=<file>) is how the
// run sees the console talk to the unit.
#pragma once
#include <QProcess>
#include <QString>
#include <functional>
#include <memory>

#include "bench/soak_x.h"

namespace soak {

class StagedConsole {
public:
    // Copies the stage folder to sFolder/stage; false with the reason.
    bool booMake(const QString& sStage, const QString& sFolder, QString& sWhy);
    void vSet(const char* sSection, const char* sKey, const QString& sValue) const;
    // Unit and sensor timings short enough for an exposure in a few seconds,
    // at the full image size (a write of about 4 MB), no cooling, no sound.
    void vSetFastExposure() const;
    const QString& stage() const { return sStage_; }
    QString tracePath() const { return sFolder_ + "/link.trace"; }

    // Starts the console with TMPDIR sTmp (made if missing), waits for the
    // power-on box and answers it, then finds the main window.
    bool booStart(const XDisplay& x, const QString& sTmp, QString& sWhy);
    // Clicks READY until the link trace shows an exposure command.
    bool booPressReady(const XDisplay& x, int iTimeoutMs);
    QProcess& process() { return *proc_; }
    // Waits for the end of the run; its exit status, -1 when it was killed or
    // did not end in time.
    int iWaitExit(int iTimeoutMs);

private:
    QString sFolder_, sStage_;
    std::unique_ptr<QProcess> proc_;
    int x0_ = 0, y0_ = 0;
};

// Waits (real time, polling every iStepMs) until the predicate holds.
bool booWaitFor(const std::function<bool()>& pred, int iTimeoutMs, int iStepMs = 50);

}  // namespace soak
