#include "dicom/store_status.h"

#include <sys/stat.h>

#include <ctime>
#include <iomanip>

#include "dicom/store_lock.h"
#include "dicom/store_spool.h"

namespace store {
namespace {

std::string sSince(const std::string& sPath) {
    struct stat st {};
    if (stat(sPath.c_str(), &st) != 0) return "?";
    std::tm tm{};
    localtime_r(&st.st_mtime, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

}  // namespace

void vPrintStatus(const std::string& sSpool, std::ostream& out) {
    struct stat st {};
    out << std::left << "Spool: " << sSpool;
    if (stat(sSpool.c_str(), &st) != 0) {
        out << " (missing: nothing waits)\n";
        return;
    }
    out << (SpoolLock::booBusy(sSpool) ? " (a sender is delivering)" : " (no sender is running)") << "\n";

    const auto waiting = queuedNames(sSpool);
    out << "Waiting: " << waiting.size() << "\n";
    const std::string sNote = sWaitingNote(sSpool);
    if (!waiting.empty() && !sNote.empty()) out << "  last try " << sNote << "\n";
    if (!waiting.empty()) {
        out << "  " << std::setw(21) << "QUEUED SINCE" << "OBJECT\n";
        for (const auto& s : waiting) out << "  " << std::setw(21) << sSince(sSpool + "/" + s) << s << "\n";
    }
    const auto committing = committingNames(sSpool);
    if (!committing.empty()) {
        out << "Stored, waiting for the archive's commitment: " << committing.size() << "\n";
        out << "  " << std::setw(21) << "QUEUED SINCE" << "OBJECT\n";
        for (const auto& s : committing)
            out << "  " << std::setw(21) << sSince(sSpool + "/" + kCommitting + "/" + s) << s << "\n";
    }
    const auto failed = failedObjects(sSpool);
    out << "Failed: " << failed.size() << (failed.empty() ? "" : " (in failed/, not sent again)") << "\n";
    if (!failed.empty()) {
        out << "  " << std::setw(21) << "REFUSED AT" << "OBJECT\n";
        for (const auto& f : failed) {
            out << "  " << std::setw(21) << sSince(sSpool + "/failed/" + f.sName + ".reason") << f.sName << "\n";
            out << "  " << std::setw(21) << "" << "reason: " << f.sReason << "\n";
        }
    }
}

}  // namespace store
