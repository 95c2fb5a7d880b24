// Idle CPU of the console: starts the staged program on an Xvfb display of
// its own, confirms power on, lets it settle in its idle state (the polling
// timer runs every 10 ms) and reads the CPU time of the process from
// /proc/PID/schedstat over a measuring period; then the same for a bare Qt
// window running the same 10 ms timer (zyr_bare_window). Prints both and
// their ratio (aim: at most 1.2); exits 1 when the console used 1 % of one
// core or more.
//   zyr_idle_bench [STAGE_DIR [SECONDS]]
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <functional>

#include "platform/profile_string.h"
#include "tools/xvfb_display.h"

namespace {

bool booCopyTree(const QString& sFrom, const QString& sTo) {
    QDirIterator it(sFrom, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QDir().mkpath(sTo);
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

// CPU time of a process (all its threads), in seconds: the first field of
// /proc/PID/schedstat, in nanoseconds, where /proc/PID/stat counts whole
// clock ticks of 10 ms.
double dCpuSeconds(qint64 lPid) {
    QFile f(QString("/proc/%1/schedstat").arg(lPid));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    bool booOk = false;
    const double dNs = f.readAll().split(' ').first().toDouble(&booOk);
    return booOk ? dNs / 1e9 : -1;
}

// Percent of one core the running process uses over the seconds.
double dIdlePercent(const QProcess& p, int iSeconds) {
    const double dCpu0 = dCpuSeconds(p.processId());
    QElapsedTimer wall;
    wall.start();
    QThread::sleep(static_cast<unsigned long>(iSeconds));
    const double dCpu1 = dCpuSeconds(p.processId());
    if (p.state() != QProcess::Running || dCpu0 < 0 || dCpu1 < 0) return -1;
    return (dCpu1 - dCpu0) / (static_cast<double>(wall.elapsed()) / 1000.0) * 100.0;
}

bool booWaitFor(const std::function<bool()>& pred, int iMs) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > iMs) return false;
        QThread::msleep(100);
    }
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString sStage = QDir(argc > 1 ? QString(argv[1]) : QString(ZYR_STAGE_DIR)).absolutePath();
    const int iSeconds = argc > 2 ? std::atoi(argv[2]) : 30;

    QTemporaryDir dir;
    const QString sCopy = dir.path() + "/stage";
    if (!booCopyTree(sStage, sCopy) || !QFile::exists(sCopy + "/ZYR_PAN_WEQ")) {
        std::fprintf(stderr, "no staged program in %s\n", qPrintable(sStage));
        return 2;
    }
    const std::string sIni = (sCopy + "/ZYR_PAN_WEQ.ini").toStdString();
    platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "SaveFileName", (dir.path() + "/idle.bmp").toUtf8().constData(),
                                         sIni.c_str());
    platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "ClickSound", "", sIni.c_str());
    platform::WritePrivateProfileStringA("ZyrPan2", "Link", "sim", sIni.c_str());
    platform::WritePrivateProfileStringA("ZyrPan2", "CoolTimeAtStart", "0", sIni.c_str());

    XvfbDisplay display;
    QString sError;
    if (!display.booStart(150 + static_cast<int>(QCoreApplication::applicationPid() % 50), sError)) {
        std::fprintf(stderr, "%s\n", qPrintable(sError));
        return 2;
    }

    QProcess console;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display.name());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("TMPDIR", dir.path());
    console.setProcessEnvironment(env);
    console.start(sCopy + "/ZYR_PAN_WEQ", {});
    QString sBox;
    const bool booUp = console.waitForStarted(10000) && booWaitFor(
                                                            [&] {
                                                                display.iXdo({"search", "--onlyvisible", "--name", "^Tolvek E$"}, &sBox);
                                                                return !sBox.trimmed().isEmpty();
                                                            },
                                                            20000);
    if (!booUp) {
        std::fprintf(stderr, "the console did not ask to confirm power on\n");
        console.kill();
        return 2;
    }
    display.iXdo({"windowfocus", "--sync", sBox.trimmed().split('\n').first()});
    display.iXdo({"key", "Return"});
    QThread::sleep(3);  // connected, idle in state 0, polling every 10 ms

    const double dPercent = dIdlePercent(console, iSeconds);
    console.kill();
    console.waitForFinished(5000);

    // The yardstick: a bare window with the same timer, on the same display.
    QProcess bare;
    bare.setProcessEnvironment(env);
    bare.start(QCoreApplication::applicationDirPath() + "/zyr_bare_window", {});
    double dBare = -1;
    if (bare.waitForStarted(10000)) {
        QThread::sleep(3);
        dBare = dIdlePercent(bare, iSeconds);
    }
    bare.kill();
    bare.waitForFinished(5000);
    if (dPercent < 0 || dBare <= 0) {
        std::fprintf(stderr, "the console or the bare window did not stay up for the measurement\n");
        return 2;
    }
    std::printf("idle over %d s: console %.3f %% of one core (limit 1 %%), bare Qt window with a 10 ms timer %.3f %%, "
                "ratio %.2f (aim 1.2)\n",
                iSeconds, dPercent, dBare, dPercent / dBare);
    return dPercent < 1.0 ? 0 : 1;
}
