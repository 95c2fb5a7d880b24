// The staged program on its own X server: a copy of the stage folder with a
// settings file of the test's own, an Xvfb display, the program started
// there, and the mouse and keyboard of xdotool at the layout positions.
#pragma once
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a key into the copied settings file (section ZYR_PAN_WEQ or ZyrPan2).
    void vSetIni(const char* sSection, const char* sKey, const std::string& sValue);
    std::string sIni(const char* sKey) const;

    // Starts the program of the copied stage; null when it could not start.
    // A program still running at the end of the test is killed.
    QProcess* pStartProgram();
    // Waits (real time) until the predicate holds; false on timeout.
    static bool booWaitFor(const std::function<bool()>& pred, int iTimeoutMs);
    // Runs xdotool with the arguments; its standard output.
    std::string sXdo(const QStringList& args, int* piExit = nullptr);
    // The main window's top-left corner on the screen (pixels); false when
    // the program shows none.
    bool booMainWindowAt(qint64 lPid, int& x, int& y);
    // A click at a point of the window's client area given in twips.
    void vClickTwips(int x0, int y0, int lLeftTw, int lTopTw);
    // Presses Return in the message box titled "Tolvek E"; false when none came.
    bool booConfirmBox(int iTimeoutMs);
    // Saves a picture of the screen as ZYR_SHOTS_DIR/name.png when that is set.
    void vShot(const std::string& sName);
    // Files of the temporary folder that look like working folders.
    QStringList workFolders() const;

    QString sDisplay_;
    std::vector<std::unique_ptr<QProcess>> programs_;
    std::unique_ptr<QProcess> xvfb_;
    std::unique_ptr<QTemporaryDir> dir_;  // stage copy, temporary folder, image
    QString sStage_, sTmp_, sImage_;
};
