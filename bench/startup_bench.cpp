// Start-up of the console against a bare Qt window of the same size: the
// two are started in turn on one Xvfb display, ROUNDS times each, and the
// time from starting the process to its first top-level window being mapped
// (a MapNotify on the root window; for the console that is its power-on
// question) is taken. Prints both medians and their ratio; exits 1 when the
// console takes more than 1.3 times as long.
//   zyr_startup_bench [STAGE_DIR [ROUNDS]]
// Run it as on the operator's desktop, with a session bus:
//   dbus-run-session -- build/bench/zyr_startup_bench
// Without one, the console's first caption wakes Qt's accessibility bridge,
// which then waits for the bus to be autolaunched before the window can
// appear; an empty window meets that only after it is mapped.
#include <poll.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "tools/staged_console.h"

namespace {

// Waits for the next window mapped on the display; false after iMs.
bool booWaitForMap(xcb_connection_t* x, int iMs) {
    QElapsedTimer t;
    t.start();
    for (;;) {
        while (xcb_generic_event_t* ev = xcb_poll_for_event(x)) {
            const bool booMap = (ev->response_type & 0x7f) == XCB_MAP_NOTIFY;
            free(ev);
            if (booMap) return true;
        }
        const int iLeft = iMs - static_cast<int>(t.elapsed());
        if (iLeft <= 0 || xcb_connection_has_error(x) != 0) return false;
        pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
        poll(&fd, 1, iLeft);
    }
}

// Milliseconds from the start of the program to its first mapped window;
// negative when none came. The program is killed afterwards and the
// display left empty.
double dStartMs(xcb_connection_t* x, const QProcessEnvironment& env, const QString& sProgram) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(sProgram, {});
    const bool booMapped = booWaitForMap(x, 20000);
    const double dMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
    p.kill();
    p.waitForFinished(5000);
    booWaitForMap(x, 300);  // let the server tidy up before the next start
    return booMapped ? dMs : -1;
}

double dMedian(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString sStage = QDir(argc > 1 ? QString(argv[1]) : QString(ZYR_STAGE_DIR)).absolutePath();
    const int iRounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;

    // One display for every start.
    StagedConsole con;
    QString sWhy;
    if (!con.booMake(sStage, sWhy)) {
        std::fprintf(stderr, "%s\n", qPrintable(sWhy));
        return 2;
    }
    xcb_connection_t* x = xcb_connect(con.display().name().toLatin1().constData(), nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const QProcessEnvironment env = con.env(con.folder() + "/tmp");
    const QString sConsole = con.program();
    const QString sBare = QCoreApplication::applicationDirPath() + "/zyr_bare_window";
    std::vector<double> console, bare;
    dStartMs(x, env, sBare);  // one start of each to warm the caches, not counted
    dStartMs(x, env, sConsole);
    for (int i = 0; i < iRounds; ++i) {
        console.push_back(dStartMs(x, env, sConsole));
        bare.push_back(dStartMs(x, env, sBare));
        if (console.back() < 0 || bare.back() < 0) {
            std::fprintf(stderr, "no window came up in round %d\n", i + 1);
            return 2;
        }
    }
    xcb_disconnect(x);

    const double dConsole = dMedian(console), dBare = dMedian(bare);
    std::printf("first window mapped, median of %d starts: console %.1f ms, bare Qt window %.1f ms, ratio %.2f "
                "(aim 1.3; %s session bus)\n",
                iRounds, dConsole, dBare, dConsole / dBare,
                qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") ? "no" : "with a");
    return dConsole / dBare <= 1.3 ? 0 : 1;
}
