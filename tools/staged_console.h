// The staged console as the end-to-end tests and the benches drive it: an
// Xvfb display and a temporary folder of the run's own, a copy of the stage
// folder there with settings of the run's own, the console started on the
// display, power on confirmed, and clicks at layout positions in twips.
// The console's standard error goes to console.log in the folder.
#pragma once
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "tools/xvfb_display.h"

class StagedConsole {
public:
    // Starts the display and copies the stage folder to folder()/stage, set
    // for a run: no click sound, the first mode, the embedded unit, connecting
    // at once and waiting long for the unit. False with the reason.
    bool booMake(const QString& sStage, QString& sWhy);
    // A key of the copied settings file; false when it could not be written.
    bool booSet(const char* sSection, const char* sKey, const QString& sValue) const;
    // A key of the console's own section.
    QString sIni(const char* sKey) const;
    // Unit and sensor timings short enough for an exposure in a few seconds,
    // at the full image size (a write of about 4 MB), no cooling.
    void vSetFastExposure() const;
    const XvfbDisplay& display() const { return x_; }
    QString folder() const { return dir_.path(); }
    QString stage() const { return folder() + "/stage"; }
    QString program() const { return stage() + "/ZYR_PAN_WEQ"; }

    // The environment of a program on the display with TMPDIR sTmp (made if
    // missing): the C.UTF-8 locale, and a private runtime folder in sTmp
    // unless the caller has one.
    QProcessEnvironment env(const QString& sTmp) const;
    // Starts the console as p in that environment; false when it did not
    // start.
    bool booLaunch(QProcess& p, const QString& sTmp) const;
    // The console's message box on the display, or empty.
    QString sBox() const;
    // Presses Return in the console's message box; false when none came.
    bool booConfirmBox(int iTimeoutMs) const;
    // Starts the console as process(), confirms power on and finds the main
    // window; false with the reason.
    bool booStart(const QString& sTmp, QString& sWhy);
    // booStart for the console left idle on the embedded unit: no cooling
    // from before, TMPDIR and the image in the folder.
    bool booStartIdle(QString& sWhy);
    QProcess& process() { return *proc_; }
    // The console's command line (the imaging program's patient options).
    QStringList args;
    // What the operator does after the start and before power on is asked
    // (the pick from the worklist); false stops the start.
    std::function<bool()> fnBeforePowerOn;
    // A left click at a point of the main window's client area, in twips.
    void vClickTwips(int lLeftTw, int lTopTw) const;
    // Waits for the end of process(); its exit status, -1 when it was killed
    // or did not end in time.
    int iWaitExit(int iTimeoutMs);

private:
    QTemporaryDir dir_;
    XvfbDisplay x_;
    std::unique_ptr<QProcess> proc_;
    QPoint corner_;  // of the main window's client area
};

// Waits (real time, polling every iStepMs) until the predicate holds.
bool booWaitFor(const std::function<bool()>& pred, int iTimeoutMs, int iStepMs = 50);
