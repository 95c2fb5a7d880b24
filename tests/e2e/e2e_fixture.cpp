#include "tests/e2e/e2e_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <cstdlib>

#include "platform/profile_string.h"

namespace {
bool booHave(const char* sTool) { return !QStandardPaths::findExecutable(sTool).isEmpty(); }

// Installs what the test needs when it is missing (CI runs as root).
bool booTools() {
    if (booHave("Xvfb") && booHave("xdotool")) return true;
    QProcess::execute("apt-get", {"install", "-y", "-qq", "xvfb", "xdotool"});
    return booHave("Xvfb") && booHave("xdotool");
}

bool booCopyTree(const QString& sFrom, const QString& sTo) {
    QDir().mkpath(sTo);
    QDirIterator it(sFrom, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString s = it.next();
        const QString sRel = QDir(sFrom).relativeFilePath(s);
        if (it.fileInfo().isDir()) {
            QDir().mkpath(sTo + "/" + sRel);
        } else if (!QFile::copy(s, sTo + "/" + sRel)) {
            return false;
        }
    }
    return true;
}
}  // namespace

void E2eTest::SetUp() {
    const char* sStage = std::getenv("ZYR_STAGE_DIR");
    ASSERT_NE(sStage, nullptr) << "ZYR_STAGE_DIR names the staged program folder";
    ASSERT_TRUE(QFile::exists(QString(sStage) + "/ZYR_PAN_WEQ")) << sStage;
    ASSERT_TRUE(QFile::exists(QString(sStage) + "/ZYR_PAN_WEQ.ini")) << "no staged settings file in " << sStage;
    if (!booTools()) GTEST_SKIP() << "Xvfb and xdotool are not available";

    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    sStage_ = dir_->path() + "/stage";
    sTmp_ = dir_->path() + "/tmp";
    sImage_ = dir_->path() + "/out/e2e.bmp";
    QDir().mkpath(sTmp_);
    QDir().mkpath(dir_->path() + "/out");
    ASSERT_TRUE(booCopyTree(sStage, sStage_));
    QFile::remove(sStage_ + "/ZYR_PAN_WEQ.ini");
    QFile::copy(QString(sStage) + "/ZYR_PAN_WEQ.ini", sStage_ + "/ZYR_PAN_WEQ.ini");

    // A display of our own: the first free number from 90 on.
    for (int n = 90 + static_cast<int>(QCoreApplication::applicationPid() % 50); n < 400; ++n) {
        if (QFile::exists(QString("/tmp/.X%1-lock").arg(n))) continue;
        sDisplay_ = QString(":%1").arg(n);
        xvfb_ = std::make_unique<QProcess>();
        xvfb_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        xvfb_->start("Xvfb", {sDisplay_, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"});
        // Ready once a client gets through to it. -noreset keeps the server from
        // resetting when that probing client leaves, which would refuse the
        // program connecting right after it.
        int iExit = 1;
        if (xvfb_->waitForStarted(5000) &&
            booWaitFor(
                [&] {
                    if (xvfb_->state() != QProcess::Running) return true;
                    sXdo({"getdisplaygeometry"}, &iExit);
                    return iExit == 0;
                },
                10000) &&
            xvfb_->state() == QProcess::Running && iExit == 0)
            break;
        xvfb_.reset();
    }
    ASSERT_TRUE(xvfb_) << "no X display could be started";
}

void E2eTest::TearDown() {
    // A program left running by a failed step goes with the display.
    for (auto& p : programs_) {
        if (p->state() == QProcess::NotRunning) continue;
        p->kill();
        p->waitForFinished(5000);
    }
    programs_.clear();
    if (xvfb_) {
        xvfb_->terminate();
        if (!xvfb_->waitForFinished(5000)) xvfb_->kill();
        xvfb_->waitForFinished(2000);
    }
}

void E2eTest::vSetIni(const char* sSection, const char* sKey, const std::string& sValue) {
    const std::string sPath = (sStage_ + "/ZYR_PAN_WEQ.ini").toStdString();
    ASSERT_NE(platform::WritePrivateProfileStringA(sSection, sKey, sValue.c_str(), sPath.c_str()), 0);
}

std::string E2eTest::sIni(const char* sKey) const {
    char buf[512] = {};
    const std::string sPath = (sStage_ + "/ZYR_PAN_WEQ.ini").toStdString();
    platform::GetPrivateProfileStringA("ZYR_PAN_WEQ", sKey, "", buf, sizeof buf, sPath.c_str());
    return buf;
}

QProcess* E2eTest::pStartProgram() {
    programs_.push_back(std::make_unique<QProcess>());
    QProcess& p = *programs_.back();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", sDisplay_);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("TMPDIR", sTmp_);
    env.insert("LANG", "C.UTF-8");
    env.remove("LANGUAGE");
    env.remove("LC_ALL");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir_->path());
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(sStage_ + "/ZYR_PAN_WEQ", {});
    return p.waitForStarted(10000) ? &p : nullptr;
}

bool E2eTest::booWaitFor(const std::function<bool()>& pred, int iTimeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > iTimeoutMs) return false;
        QThread::msleep(50);
    }
    return true;
}

std::string E2eTest::sXdo(const QStringList& args, int* piExit) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", sDisplay_);
    p.setProcessEnvironment(env);
    p.start("xdotool", args);
    const bool booDone = p.waitForFinished(10000);
    if (piExit != nullptr) *piExit = booDone && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput().toStdString();
}

bool E2eTest::booMainWindowAt(qint64 lPid, int& x, int& y) {
    const QString sIds = QString::fromStdString(sXdo({"search", "--onlyvisible", "--pid", QString::number(lPid)}));
    for (const QString& sId : sIds.split('\n', Qt::SkipEmptyParts)) {
        const QString sGeo = QString::fromStdString(sXdo({"getwindowgeometry", "--shell", sId}));
        int w = 0;
        int h = 0;
        for (const QString& sLine : sGeo.split('\n')) {
            if (sLine.startsWith("X=")) x = sLine.mid(2).toInt();
            if (sLine.startsWith("Y=")) y = sLine.mid(2).toInt();
            if (sLine.startsWith("WIDTH=")) w = sLine.mid(6).toInt();
            if (sLine.startsWith("HEIGHT=")) h = sLine.mid(7).toInt();
        }
        if (w == 1024 && h == 768) return true;
    }
    return false;
}

void E2eTest::vClickTwips(int x0, int y0, int lLeftTw, int lTopTw) {
    sXdo({"mousemove", QString::number(x0 + lLeftTw / 15), QString::number(y0 + lTopTw / 15), "click", "1"});
}

bool E2eTest::booConfirmBox(int iTimeoutMs) {
    QString sId;
    const bool booFound = booWaitFor(
        [&] {
            sId = QString::fromStdString(sXdo({"search", "--onlyvisible", "--name", "^Tolvek E$"})).trimmed();
            return !sId.isEmpty();
        },
        iTimeoutMs);
    if (!booFound) return false;
    sId = sId.split('\n').first();
    sXdo({"windowfocus", "--sync", sId});
    sXdo({"key", "--clearmodifiers", "Return"});
    return true;
}

void E2eTest::vShot(const std::string& sName) {
    const char* sDir = std::getenv("ZYR_SHOTS_DIR");
    if (sDir == nullptr || !booHave("import")) return;
    QDir().mkpath(sDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", sDisplay_);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start("import", {"-window", "root", QString(sDir) + "/" + QString::fromStdString(sName) + ".png"});
    p.waitForFinished(20000);
}

QStringList E2eTest::workFolders() const { return QDir(sTmp_).entryList({"$*"}, QDir::AllEntries | QDir::Hidden); }
