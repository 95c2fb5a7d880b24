// The staged program on an X display of its own (the shared staged console
// of tools/): a copy of the stage folder with a settings file of the test's
// own, the program started there, and the mouse and keyboard of xdotool at
// the layout positions.
#pragma once
#include <gtest/gtest.h>

#include <QProcess>
#include <memory>
#include <string>
#include <vector>

#include "tools/staged_console.h"

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A key of the copied settings file (section ZYR_PAN_WEQ or ZyrPan2).
    void vSetIni(const char* sSection, const char* sKey, const std::string& sValue);
    std::string sIni(const char* sKey) const { return con_.sIni(sKey).toStdString(); }
    // Starts the program, confirms power on and finds the window; null
    // (with the reason as a failure) when it did not come up.
    QProcess* pStart();
    // Starts another copy of the program of the copied stage; null when it
    // could not start.
    QProcess* pStartProgram();
    // A picture of the screen as ZYR_SHOTS_DIR/name.png when that is set.
    void vShot(const std::string& sName);
    // Entries of the temporary folder that look like working folders.
    QStringList workFolders() const;

    StagedConsole con_;  // the display, the stage copy, the temporary folder, the image
    std::vector<std::unique_ptr<QProcess>> programs_;  // ended before con_ goes
    QString sTmp_ = con_.folder() + "/tmp", sImage_ = con_.folder() + "/out/e2e.bmp";
};
