#include "tests/e2e/e2e_fixture.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <iostream>

#include "tools/x_windows.h"

void E2eTest::SetUp() {
    const char* sStage = std::getenv("ZYR_STAGE_DIR");
    ASSERT_NE(sStage, nullptr) << "ZYR_STAGE_DIR names the staged program folder";
    QString sWhy;
    ASSERT_TRUE(con_.booMake(sStage, sWhy)) << sWhy.toStdString();
    ASSERT_TRUE(QDir().mkpath(sTmp_) && QDir().mkpath(con_.folder() + "/out"));
}

void E2eTest::TearDown() {
    QFile log(con_.folder() + "/console.log");  // what the programs said, for a failed step
    if (HasFailure() && log.open(QIODevice::ReadOnly)) std::cerr << log.readAll().toStdString();
}

void E2eTest::vSetIni(const char* sSection, const char* sKey, const std::string& sValue) {
    ASSERT_TRUE(con_.booSet(sSection, sKey, QString::fromStdString(sValue)));
}

QProcess* E2eTest::pStart() {
    QString sWhy;
    if (con_.booStart(sTmp_, sWhy)) return &con_.process();
    ADD_FAILURE() << sWhy.toStdString();
    return nullptr;
}

QProcess* E2eTest::pStartProgram() {
    QProcess& p = *programs_.emplace_back(std::make_unique<QProcess>());
    return con_.booLaunch(p, sTmp_) ? &p : nullptr;
}

void E2eTest::vShot(const std::string& sName) {
    const char* sDir = std::getenv("ZYR_SHOTS_DIR");
    if (sDir == nullptr) return;
    QDir().mkpath(sDir);
    xwin::booSnapshot(con_.display(), "root", QString(sDir) + "/" + QString::fromStdString(sName) + ".png");
}

QStringList E2eTest::workFolders() const { return QDir(sTmp_).entryList({"$*"}, QDir::AllEntries | QDir::Hidden); }
