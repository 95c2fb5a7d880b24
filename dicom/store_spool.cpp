#include "dicom/store_spool.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace store {
namespace {

constexpr const char* kFailed = "failed";

void vSyncFolder(const std::string& sFolder) {
    const int fd = open(sFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool booWriteDurably(const std::string& sPath, const std::string& sText, std::string& sWhy) {
    const std::string sTemp = fs::path(sPath).parent_path().string() + "/." +
                              fs::path(sPath).filename().string() + ".tmp";
    const int fd = open(sTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0660);
    bool ok = fd >= 0;
    if (ok) {
        ok = write(fd, sText.data(), sText.size()) == static_cast<ssize_t>(sText.size()) && fsync(fd) == 0;
        ok = close(fd) == 0 && ok;
    }
    if (ok) ok = rename(sTemp.c_str(), sPath.c_str()) == 0;
    if (!ok) {
        sWhy = "cannot write " + sPath + ": " + std::strerror(errno);
        unlink(sTemp.c_str());
    }
    return ok;
}

// failed/ and committing/: shared by the operators' senders and the
// service, whatever the umask of the one that makes them.
bool booMakeSharedFolder(const std::string& sFolder, std::string& sWhy) {
    if (mkdir(sFolder.c_str(), 02770) == 0) {
        chmod(sFolder.c_str(), 02770);
        return true;
    }
    if (errno == EEXIST) return true;
    sWhy = "cannot make " + sFolder + ": " + std::strerror(errno);
    return false;
}

}  // namespace

bool booQueuedName(const std::string& sName) {
    constexpr std::string_view kExt = ".dcm";
    return sName.size() > kExt.size() && sName.front() != '.' &&
           sName.compare(sName.size() - kExt.size(), kExt.size(), kExt) == 0;
}

std::vector<std::string> queuedNames(const std::string& sSpool) {
    std::vector<std::pair<fs::file_time_type, std::string>> v;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(sSpool, ec)) {
        const std::string sName = e.path().filename().string();
        std::error_code ec2;
        if (!booQueuedName(sName) || !e.is_regular_file(ec2)) continue;
        v.emplace_back(e.last_write_time(ec2), sName);
    }
    std::sort(v.begin(), v.end());
    std::vector<std::string> names;
    for (auto& p : v) names.push_back(std::move(p.second));
    return names;
}

std::vector<tFailed> failedObjects(const std::string& sSpool) {
    std::vector<tFailed> v;
    for (const std::string& sName : queuedNames(sSpool + "/" + kFailed)) {
        std::ifstream in(sSpool + "/" + kFailed + "/" + sName + ".reason");
        std::ostringstream ss;
        ss << in.rdbuf();
        std::string s = in ? ss.str() : "(no reason recorded)";
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        v.push_back({sName, s});
    }
    return v;
}

bool booMoveToFailed(const std::string& sSpool, const std::string& sName, const std::string& sReason,
                     std::string& sWhy) {
    const std::string sFolder = sSpool + "/" + kFailed;
    if (!booMakeSharedFolder(sFolder, sWhy)) return false;
    if (!booWriteDurably(sFolder + "/" + sName + ".reason", sReason + "\n", sWhy)) return false;
    if (rename((sSpool + "/" + sName).c_str(), (sFolder + "/" + sName).c_str()) != 0) {
        sWhy = "cannot move " + sName + " to " + sFolder + ": " + std::strerror(errno);
        return false;
    }
    vSyncFolder(sFolder);
    vSyncFolder(sSpool);
    return true;
}

bool booRemoveDelivered(const std::string& sSpool, const std::string& sName, std::string& sWhy) {
    if (unlink((sSpool + "/" + sName).c_str()) != 0 && errno != ENOENT) {
        sWhy = "cannot remove " + sName + " from " + sSpool + ": " + std::strerror(errno);
        return false;
    }
    // Not synced: a removal lost in a crash only sends the object once more,
    // under the same UIDs, and the archive keeps one copy.
    return true;
}

std::vector<std::string> committingNames(const std::string& sSpool) {
    return queuedNames(sSpool + "/" + kCommitting);
}

bool booMoveInSpool(const std::string& sSpool, const std::string& sFrom, const std::string& sTo,
                    const std::string& sName, std::string& sWhy) {
    const std::string sFromDir = sFrom.empty() ? sSpool : sSpool + "/" + sFrom;
    const std::string sToDir = sTo.empty() ? sSpool : sSpool + "/" + sTo;
    if (!booMakeSharedFolder(sToDir, sWhy)) return false;
    if (rename((sFromDir + "/" + sName).c_str(), (sToDir + "/" + sName).c_str()) != 0) {
        sWhy = "cannot move " + sName + " to " + sToDir + ": " + std::strerror(errno);
        return false;
    }
    vSyncFolder(sToDir);
    vSyncFolder(sFromDir);
    return true;
}

void vNoteWaiting(const std::string& sSpool, const std::string& sWhy) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &tm);
    std::string sIgnored;
    booWriteDurably(sSpool + "/.waiting", std::string(stamp) + " " + sWhy + "\n", sIgnored);
}

void vClearWaiting(const std::string& sSpool) { unlink((sSpool + "/.waiting").c_str()); }

std::string sWaitingNote(const std::string& sSpool) {
    std::ifstream in(sSpool + "/.waiting");
    std::string s;
    std::getline(in, s);
    return s;
}

std::string sSpoolProblem(const std::string& sSpool) {
    struct stat st {};
    if (stat(sSpool.c_str(), &st) != 0) return sSpool + ": " + std::strerror(errno);
    if (!S_ISDIR(st.st_mode)) return sSpool + " is not a folder";
    if (access(sSpool.c_str(), R_OK | W_OK | X_OK) != 0)
        return "cannot take objects out of " + sSpool + ": " + std::strerror(errno);
    return {};
}

}  // namespace store
