#include "bench/soak_x.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>

namespace soak {
namespace {

QProcessEnvironment envFor(const QString& sDisplay) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", sDisplay);
    return env;
}

}  // namespace

XDisplay::~XDisplay() {
    if (xvfb_.state() == QProcess::NotRunning) return;
    xvfb_.terminate();
    if (!xvfb_.waitForFinished(5000)) xvfb_.kill();
    xvfb_.waitForFinished(2000);
}

bool XDisplay::booStart(QString& sWhy) {
    for (const char* sTool : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(sTool).isEmpty()) {
            sWhy = QString("%1 is not installed (Debian: xvfb, xdotool)").arg(sTool);
            return false;
        }
    }
    const int iBase = 200 + static_cast<int>(QCoreApplication::applicationPid() % 100);
    for (int n = iBase; n < iBase + 100; ++n) {
        if (QFile::exists(QString("/tmp/.X%1-lock").arg(n))) continue;
        sDisplay_ = QString(":%1").arg(n);
        // -noreset: the probing client's leaving must not reset the server
        // under the console that connects next.
        xvfb_.start("Xvfb", {sDisplay_, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"});
        if (!xvfb_.waitForStarted(5000)) break;
        QElapsedTimer t;
        t.start();
        int iExit = 1;
        while (xvfb_.state() == QProcess::Running && t.elapsed() < 10000) {
            sXdo({"getdisplaygeometry"}, &iExit);
            if (iExit == 0) return true;
            QThread::msleep(100);
        }
        xvfb_.kill();
        xvfb_.waitForFinished(2000);
    }
    sDisplay_.clear();
    sWhy = "no Xvfb display could be started";
    return false;
}

std::string XDisplay::sXdo(const QStringList& args, int* piExit) const {
    QProcess p;
    p.setProcessEnvironment(envFor(sDisplay_));
    p.start("xdotool", args);
    const bool booDone = p.waitForFinished(10000);
    if (piExit != nullptr) *piExit = booDone && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput().toStdString();
}

QString XDisplay::sWindowTitled(const QString& sTitle) const {
    const QString sIds = QString::fromStdString(sXdo({"search", "--onlyvisible", "--name", "^" + sTitle + "$"}));
    return sIds.split('\n', Qt::SkipEmptyParts).value(0);
}

QString XDisplay::sWindowName(const QString& sId) const {
    return QString::fromStdString(sXdo({"getwindowname", sId})).trimmed();
}

void XDisplay::vKeyTo(const QString& sId, const QString& sKey) const {
    sXdo({"windowfocus", "--sync", sId});
    sXdo({"key", "--clearmodifiers", sKey});
}

bool XDisplay::booMainWindowAt(qint64 lPid, int& x, int& y) const {
    const QString sIds = QString::fromStdString(sXdo({"search", "--onlyvisible", "--pid", QString::number(lPid)}));
    for (const QString& sId : sIds.split('\n', Qt::SkipEmptyParts)) {
        int w = 0, h = 0;
        for (const QString& s : QString::fromStdString(sXdo({"getwindowgeometry", "--shell", sId})).split('\n')) {
            if (s.startsWith("X=")) x = s.mid(2).toInt();
            if (s.startsWith("Y=")) y = s.mid(2).toInt();
            if (s.startsWith("WIDTH=")) w = s.mid(6).toInt();
            if (s.startsWith("HEIGHT=")) h = s.mid(7).toInt();
        }
        if (w == 1024 && h == 768) return true;
    }
    return false;
}

void XDisplay::vClickTwips(int x0, int y0, int lLeftTw, int lTopTw) const {
    sXdo({"mousemove", QString::number(x0 + lLeftTw / 15), QString::number(y0 + lTopTw / 15), "click", "1"});
}

bool XDisplay::booSnapshot(const QString& sId, const QString& sPng) const {
    if (QStandardPaths::findExecutable("import").isEmpty()) return false;
    QProcess p;
    p.setProcessEnvironment(envFor(sDisplay_));
    p.start("import", {"-window", sId, sPng});
    return p.waitForFinished(20000) && p.exitCode() == 0;
}

}  // namespace soak
