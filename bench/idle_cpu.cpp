// Idle CPU of the console: starts the staged program on an Xvfb display of
// its own, confirms power on, lets it settle in its idle state (the polling
// timer runs every 10 ms) and reads the CPU time of the process from
// /proc/PID/schedstat over a measuring period; then the same for a bare Qt
// window running the same 10 ms timer (zyr_bare_window). Prints both and
// their ratio (aim: at most 1.2); exits 1 when the console used 1 % of one
// core or more.
//   zyr_idle_bench [STAGE_DIR [SECONDS]]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cstdio>

#include "tools/staged_console.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString sStage = QDir(argc > 1 ? QString(argv[1]) : QString(ZYR_STAGE_DIR)).absolutePath();
    const int iSeconds = argc > 2 ? std::atoi(argv[2]) : 30;

    StagedConsole con;
    QString sWhy;
    if (!con.booMake(sStage, sWhy) || !con.booStartIdle(sWhy)) {
        std::fprintf(stderr, "%s\n", qPrintable(sWhy));
        return 2;
    }
    QThread::sleep(3);  // connected, idle in state 0, polling every 10 ms
    QProcess& console = con.process();

    const double dPercent = dIdlePercent(console, iSeconds);
    console.kill();
    console.waitForFinished(5000);

    // The yardstick: a bare window with the same timer, on the same display.
    QProcess bare;
    bare.setProcessEnvironment(con.env(con.folder() + "/tmp"));
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
