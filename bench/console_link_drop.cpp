// The unit link dropped in mid-exposure: the staged console on
// Link=tcp:127.0.0.1:PORT (the virtual sensor beside it, Sensor=sim)
// against zyrpan-unit; READY, and once the unit has reported the hand
// switch ("X1", the X-ray is on) the unit's process is killed. The console
// retries the link for InitRetryTime_Timer seconds (3 here), then must show
// its initialization-error box and end with status 1 and no bitmap. Every
// box it shows is saved as a picture (window title and text) and answered
// with Return. Then zyrpan-unit is started again on the same port and the
// console relaunched: it must take the next exposure normally (status 0, a
// bitmap that identify reads).
//   zyr_link_drop [STAGE_DIR [PICTURE_FOLDER]]   (pictures: default the current folder)
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <cstdio>

#include "bench/soak_console.h"
#include "tools/x_windows.h"

namespace {

constexpr int kRetrySeconds = 3;

// Answers every box the console shows until it ends; the count of boxes.
int iAnswerBoxes(soak::Console& con, const QString& sShots, QElapsedTimer& since) {
    const XvfbDisplay& x = con.display();
    int n = 0;
    while (con.process().state() == QProcess::Running && since.elapsed() < 60000) {
        const QString sBox = con.sBox();
        if (sBox.isEmpty()) {
            con.process().waitForFinished(100);
            continue;
        }
        const QString sPng = QString("%1/link_drop_box%2.png").arg(sShots).arg(++n);
        const bool booShot = xwin::booSnapshot(x, sBox, sPng);
        std::printf("box %d, %.1f s after the unit was killed: title \"%s\"%s%s\n", n, since.elapsed() / 1000.0,
                    qPrintable(xwin::sName(x, sBox)), booShot ? ", picture " : "", booShot ? qPrintable(sPng) : "");
        xwin::vKey(x, sBox, "Return");
        booWaitFor([&] { return con.sBox() != sBox; }, 5000);
    }
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString sStage = argc > 1 ? QString(argv[1]) : QString(ZYR_STAGE_DIR);
    const QString sShots = QDir(argc > 2 ? QString(argv[2]) : QDir::currentPath()).absolutePath();
    soak::Console con;
    if (!soak::booIdentifyInstalled() || !con.booPrepare(sStage)) return 2;
    const QString sRun = con.folder();
    soak::UnitProcess unit;
    QString sWhy;
    std::string sUnitWhy;
    con.vSetFastExposure();
    con.booSet("ZyrPan2", "XrayOn", "3000");  // time to kill the unit while the X-ray is on
    con.booSet("ZYR_PAN_WEQ", "InitRetryTime_Timer", QString::number(kRetrySeconds));
    const QString sImage = sRun + "/out/image.bmp";
    QDir().mkpath(sRun + "/out");
    con.booSet("ZYR_PAN_WEQ", "SaveFileName", sImage);
    const std::string sUnit = (con.stage() + "/zyrpan-unit").toStdString();
    const std::string sConfig = (con.stage() + "/ZYR_PAN_WEQ.ini").toStdString();
    if (!unit.booStart(sUnit, 0, sConfig, sUnitWhy)) {
        std::printf("FAIL: zyrpan-unit did not start: %s\n", sUnitWhy.c_str());
        return 2;
    }
    const uint16_t port = unit.port();
    con.booSet("ZyrPan2", "Link", QString("tcp:127.0.0.1:%1").arg(port));
    con.booSet("ZyrPan2", "Sensor", "sim");

    // The first run: the unit goes away in mid-exposure.
    if (!con.booStart(sRun + "/tmp1", sWhy) || !con.booPressReady(15000)) {
        std::printf("FAIL: first run: %s\n", sWhy.isEmpty() ? "READY did not start an exposure" : qPrintable(sWhy));
        return 2;
    }
    if (!booWaitFor([&] { return con.booTraceHas("[STX]X1"); }, 15000)) {
        std::printf("FAIL: the unit never reported the hand switch\n");
        return 2;
    }
    booWaitFor([] { return false; }, 500);  // into the X-ray
    const int iUnitEnd = unit.iStop(SIGKILL);
    QElapsedTimer since;
    since.start();
    std::printf("zyrpan-unit killed 0.5 s into the X-ray (status %d)\n", iUnitEnd);
    const int iBoxes = iAnswerBoxes(con, sShots, since);
    const int iExit1 = con.iWaitExit(10000);
    const bool booNoImage = !QFile::exists(sImage);
    const QStringList left = QDir(sRun + "/tmp1").entryList({"$*"}, QDir::AllEntries | QDir::Hidden);
    std::printf("first run: %d box(es), exit status %d (want 1) %.1f s after the kill, %s, %s\n", iBoxes, iExit1,
                since.elapsed() / 1000.0, booNoImage ? "no bitmap" : "A BITMAP WAS WRITTEN",
                left.isEmpty() ? "working folder removed" : "WORKING FOLDER LEFT");

    // The unit back on the same port, the console started again.
    if (!unit.booStart(sUnit, port, sConfig, sUnitWhy)) {
        std::printf("FAIL: zyrpan-unit did not start again on port %u: %s\n", port, sUnitWhy.c_str());
        return 1;
    }
    int iExit2 = -1;
    bool booImage = false;
    if (con.booStart(sRun + "/tmp2", sWhy) && con.booPressReady(15000)) {
        iExit2 = con.iWaitExit(60000);
        booImage = soak::booIdentifies(sImage);
    } else {
        std::printf("second run: %s\n", sWhy.isEmpty() ? "READY did not start an exposure" : qPrintable(sWhy));
        con.process().kill();
    }
    std::printf("second run on the restarted unit: exit status %d (want 0), %s\n", iExit2,
                booImage ? "bitmap read by identify" : "NO READABLE BITMAP");

    return soak::iVerdict(iBoxes == 1 && iExit1 == 1 && booNoImage && left.isEmpty() && iExit2 == 0 && booImage);
}
