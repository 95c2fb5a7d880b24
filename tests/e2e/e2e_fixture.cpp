#include "tests/e2e/e2e_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QStandardPaths>
#include <QThread>
#include <cstdlib>

#include "platform/profile_string.h"

void E2eTest::SetUp() {
    const char* sStage = std::getenv("ZYR_STAGE_DIR");
    ASSERT_NE(sStage, nullptr) << "ZYR_STAGE_DIR names the staged program folder";
    ASSERT_TRUE(QFile::exists(QString(sStage) + "/ZYR_PAN_WEQ.ini")) << "no staged program in " << sStage;
    QString sError;
    ASSERT_TRUE(display_.booStart(90 + static_cast<int>(QCoreApplication::applicationPid() % 50), sError))
        << sError.toStdString();
    ASSERT_TRUE(dir_.isValid());
    ASSERT_EQ(QProcess::execute("cp", {"-a", sStage, sStage_}), 0);
    ASSERT_TRUE(QDir().mkpath(sTmp_) && QDir().mkpath(dir_.path() + "/out"));
}

void E2eTest::TearDown() {
    for (auto& p : programs_) {  // a program left running by a failed step
        p->kill();
        p->waitForFinished(5000);
    }
}

void E2eTest::vSetIni(const char* sSection, const char* sKey, const std::string& sValue) {
    ASSERT_NE(platform::WritePrivateProfileStringA(sSection, sKey, sValue.c_str(), sIniFile_.c_str()), 0);
}

std::string E2eTest::sIni(const char* sKey) const {
    char buf[512] = {};
    platform::GetPrivateProfileStringA("ZYR_PAN_WEQ", sKey, "", buf, sizeof buf, sIniFile_.c_str());
    return buf;
}

QProcess* E2eTest::pStartProgram() {
    QProcess& p = *programs_.emplace_back(std::make_unique<QProcess>());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_.name());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("TMPDIR", sTmp_);
    env.insert("LANG", "C.UTF-8");
    env.remove("LANGUAGE");
    env.remove("LC_ALL");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir_.path());
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(sStage_ + "/ZYR_PAN_WEQ", {});
    return p.waitForStarted(10000) ? &p : nullptr;
}

bool E2eTest::booWaitFor(const std::function<bool()>& pred, int iTimeoutMs) {
    QElapsedTimer t;
    for (t.start(); !pred(); QThread::msleep(50))
        if (t.elapsed() > iTimeoutMs) return false;
    return true;
}

bool E2eTest::booMainWindowAt(qint64 lPid) {
    QString sIds, sGeo;
    display_.iXdo({"search", "--onlyvisible", "--pid", QString::number(lPid)}, &sIds);
    for (const QString& sId : sIds.split('\n', Qt::SkipEmptyParts)) {
        display_.iXdo({"getwindowgeometry", "--shell", sId}, &sGeo);  // X=, Y=, WIDTH=, HEIGHT= lines
        QMap<QString, int> g;
        for (const QString& sLine : sGeo.split('\n')) g[sLine.section('=', 0, 0)] = sLine.section('=', 1).toInt();
        if (g["WIDTH"] != 1024 || g["HEIGHT"] != 768) continue;
        x0_ = g["X"];
        y0_ = g["Y"];
        return true;
    }
    return false;
}

void E2eTest::vClickTwips(int lLeftTw, int lTopTw) {
    display_.iXdo({"mousemove", QString::number(x0_ + lLeftTw / 15), QString::number(y0_ + lTopTw / 15), "click", "1"});
}

bool E2eTest::booConfirmBox(int iTimeoutMs) {
    QString sId;
    if (!booWaitFor([&] { return display_.iXdo({"search", "--onlyvisible", "--name", "^Tolvek E$"}, &sId) == 0; },
                    iTimeoutMs))
        return false;
    display_.iXdo({"windowfocus", "--sync", sId.split('\n').first()});
    display_.iXdo({"key", "--clearmodifiers", "Return"});
    return true;
}

void E2eTest::vShot(const std::string& sName) {
    const char* sDir = std::getenv("ZYR_SHOTS_DIR");
    if (sDir == nullptr || QStandardPaths::findExecutable("import").isEmpty()) return;
    QDir().mkpath(sDir);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_.name());
    p.setProcessEnvironment(env);
    p.start("import", {"-window", "root", QString(sDir) + "/" + QString::fromStdString(sName) + ".png"});
    p.waitForFinished(20000);
}

QStringList E2eTest::workFolders() const { return QDir(sTmp_).entryList({"$*"}, QDir::AllEntries | QDir::Hidden); }
