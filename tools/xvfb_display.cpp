#include "tools/xvfb_display.h"

#include <QStandardPaths>

XvfbDisplay::~XvfbDisplay() {
    if (xvfb_.state() == QProcess::NotRunning) return;
    xvfb_.terminate();
    if (!xvfb_.waitForFinished(5000)) xvfb_.kill();
    xvfb_.waitForFinished(2000);
}

bool XvfbDisplay::booStart(QString& sError) {
    for (const char* sTool : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(sTool).isEmpty()) {
            sError = QString("%1 is not installed (packages xvfb and xdotool)").arg(sTool);
            return false;
        }
    }
    xvfb_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"});
    QByteArray sNo;
    while (!sNo.endsWith('\n') && xvfb_.waitForReadyRead(10000)) sNo += xvfb_.readAllStandardOutput();
    if (!sNo.endsWith('\n')) {
        xvfb_.kill();
        xvfb_.waitForFinished(2000);
        sError = "no Xvfb display could be started";
        return false;
    }
    sName_ = ":" + QString::fromLatin1(sNo.trimmed());
    return true;
}

QProcessEnvironment XvfbDisplay::env() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", sName_);
    env.insert("QT_QPA_PLATFORM", "xcb");
    return env;
}
