// The staged program on an X display of its own: a copy of the stage folder
// with a settings file of the test's own, the program started there, and
// the mouse and keyboard of xdotool at the layout positions.
#pragma once
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/xvfb_display.h"

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A key of the copied settings file (section ZYR_PAN_WEQ or ZyrPan2).
    void vSetIni(const char* sSection, const char* sKey, const std::string& sValue);
    std::string sIni(const char* sKey) const;
    // Starts the program of the copied stage; null when it could not start.
    QProcess* pStartProgram();
    // Waits (real time) until the predicate holds; false on timeout.
    static bool booWaitFor(const std::function<bool()>& pred, int iTimeoutMs);
    // Finds the program's 1024 x 768 main window and notes its corner.
    bool booMainWindowAt(qint64 lPid);
    // A click at a point of the main window's client area given in twips.
    void vClickTwips(int lLeftTw, int lTopTw);
    // Presses Return in the message box titled "Tolvek E"; false when none came.
    bool booConfirmBox(int iTimeoutMs);
    // A picture of the screen as ZYR_SHOTS_DIR/name.png when that is set.
    void vShot(const std::string& sName);
    // Entries of the temporary folder that look like working folders.
    QStringList workFolders() const;

    XvfbDisplay display_;
    std::vector<std::unique_ptr<QProcess>> programs_;
    QTemporaryDir dir_;  // the stage copy, the temporary folder, the image
    QString sStage_ = dir_.path() + "/stage", sTmp_ = dir_.path() + "/tmp", sImage_ = dir_.path() + "/out/e2e.bmp";
    std::string sIniFile_ = (sStage_ + "/ZYR_PAN_WEQ.ini").toStdString();
    int x0_ = 0, y0_ = 0;  // the main window's corner
};
