#include "bench/soak_console.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>

namespace soak {
namespace {

// The centre of READY in the client area, twips.
constexpr int READY_X = 10320 + 1350, READY_Y = 6000 + 1050;

}  // namespace

bool Console::booPrepare(const QString& sStage) {
    QString sWhy;
    if (!booMake(sStage, sWhy)) {
        std::printf("FAIL: %s\n", qPrintable(sWhy));
        return false;
    }
    if (!booSet("ZyrPan2", "Trace", tracePath())) {
        std::printf("FAIL: the copied settings file cannot be written\n");
        return false;
    }
    return true;
}

bool Console::booTraceHas(const char* sText, qint64 llFrom) const {
    QFile f(tracePath());
    return f.open(QIODevice::ReadOnly) && f.seek(llFrom) && f.readAll().contains(sText);
}

bool Console::booPressReady(int iTimeoutMs) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < iTimeoutMs && process().state() == QProcess::Running) {
        const qint64 llFrom = QFileInfo(tracePath()).size();
        vClickTwips(READY_X, READY_Y);
        // A click while READY is still disabled is simply lost.
        if (booWaitFor([&] { return booTraceHas("[STX]NP_", llFrom); }, 1500)) return true;
    }
    return false;
}

bool booIdentifyInstalled() {
    if (!QStandardPaths::findExecutable("identify").isEmpty()) return true;
    std::printf("FAIL: identify is not installed (Debian: imagemagick)\n");
    return false;
}

bool booIdentifies(const QString& sPath) {
    QProcess p;
    p.start("identify", {sPath});
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace soak
