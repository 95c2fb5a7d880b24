// zyr-pan-weq-store: delivers the DICOM objects the console leaves in the
// spool to the practice's archive.
//   zyr-pan-weq-store            the service: watches the spool and delivers
//   zyr-pan-weq-store --once     delivers what waits now and ends
//   zyr-pan-weq-store --status   lists what waits and what failed, and why
//   zyr-pan-weq-store --version
#include <dcmtk/config/osconfig.h>
#include <dcmtk/oflog/oflog.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <iostream>

#include "dicom/dicom_settings.h"
#include "dicom/store_run.h"
#include "dicom/store_status.h"
#include "platform/program_folder.h"

namespace {

std::atomic<bool> g_stop{false};

void vOnSignal(int) { g_stop = true; }

int iUsage() {
    std::cerr << "usage: zyr-pan-weq-store [--once | --status | --version]" << std::endl;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string sArg = argc > 1 ? argv[1] : "";
    if (argc > 2 || (!sArg.empty() && sArg != "--once" && sArg != "--status" && sArg != "--version"))
        return iUsage();
    if (sArg == "--version") {
        std::cout << "zyr-pan-weq-store " << ZYR_VERSION << std::endl;
        return 0;
    }
    // The toolkit's own log would print on standard error in its own words;
    // the sender says what happened itself.
    OFLog::configure(OFLogger::OFF_LOG_LEVEL);

    const std::string sFolder = platform::sProgramFolder();
    tDicomSettings t;
    std::string sWhy;
    if (!booReadDicomSettings(sFolder + "/ZYR_PAN_WEQ.ini", sFolder, t, sWhy)) {
        std::cerr << "zyr-pan-weq-store: " << sWhy << std::endl;
        return 2;
    }
    if (!t.booEnabled) {
        std::cerr << "zyr-pan-weq-store: [DICOM] Enabled=0 in " << sFolder << "/ZYR_PAN_WEQ.ini: nothing to deliver"
                  << std::endl;
        return 0;
    }
    if (sArg == "--status") {
        store::vPrintStatus(t.sSpool, std::cout);
        return 0;
    }
    store::tRunSetup run;
    run.sSpool = t.sSpool;
    run.tTo = {t.tStore, t.sStationAE, 20};
    if (!t.tStore.booSet()) {
        std::cerr << "zyr-pan-weq-store: [DICOM] Store is not set: no archive to deliver to" << std::endl;
        return 2;
    }
    if (!booReadStoreTuning(sFolder + "/ZYR_PAN_WEQ.ini", run.tTune, sWhy)) {
        std::cerr << "zyr-pan-weq-store: " << sWhy << std::endl;
        return 2;
    }
    run.tTo.iTimeoutSeconds = run.tTune.iTimeoutSeconds;
    run.booCommit = t.booCommit;
    if (run.booCommit && run.tTune.iCommitPort == 0) {
        std::cerr << "zyr-pan-weq-store: [DICOM] CommitPort is not set: with Commit=1 the archive sends its "
                     "commitment reports to this station on that port"
                  << std::endl;
        return 2;
    }

    struct sigaction sa {};
    sa.sa_handler = vOnSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    // A line per event on standard error: the journal, under the service.
    std::cerr << std::unitbuf;
    store::Sender sender(run, std::cerr, g_stop);
    return sArg == "--once" ? sender.iOnce() : sender.iServe();
}
