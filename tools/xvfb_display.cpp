#include "tools/xvfb_display.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

XvfbDisplay::~XvfbDisplay() {
    if (xvfb_.state() == QProcess::NotRunning) return;
    xvfb_.terminate();
    if (!xvfb_.waitForFinished(5000)) xvfb_.kill();
    xvfb_.waitForFinished(2000);
}

bool XvfbDisplay::booStart(int iFirst, QString& sError) {
    for (const char* sTool : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(sTool).isEmpty()) {
            sError = QString("%1 is not installed (packages xvfb and xdotool)").arg(sTool);
            return false;
        }
    }
    for (int n = iFirst; n < iFirst + 100; ++n) {
        if (QFile::exists(QString("/tmp/.X%1-lock").arg(n))) continue;
        sName_ = QString(":%1").arg(n);
        xvfb_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        xvfb_.start("Xvfb", {sName_, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"});
        if (!xvfb_.waitForStarted(5000)) break;
        QElapsedTimer t;
        t.start();
        while (xvfb_.state() == QProcess::Running && t.elapsed() < 10000) {
            if (iXdo({"getdisplaygeometry"}) == 0) return true;
            QThread::msleep(50);
        }
        xvfb_.kill();
        xvfb_.waitForFinished(2000);
    }
    sError = "no Xvfb display could be started";
    sName_.clear();
    return false;
}

int XvfbDisplay::iXdo(const QStringList& args, QString* psOut) const {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", sName_);
    p.setProcessEnvironment(env);
    p.start("xdotool", args);
    const bool booDone = p.waitForFinished(10000);
    if (psOut != nullptr) *psOut = QString::fromLocal8Bit(p.readAllStandardOutput());
    return booDone && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
