#include "dicom/spool_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
std::string sFailed(const char* sStep, const std::string& sPath) {
    return std::string(sStep) + " " + sPath + ": " + std::strerror(errno);
}

// Makes the folder and any missing folder above it.
bool booMakeFolders(const std::string& sFolder, std::string& sWhy) {
    struct stat st {};
    if (::stat(sFolder.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return true;
        errno = ENOTDIR;
        sWhy = sFailed("cannot use", sFolder);
        return false;
    }
    const auto slash = sFolder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !booMakeFolders(sFolder.substr(0, slash), sWhy)) return false;
    if (::mkdir(sFolder.c_str(), 0770) != 0) {
        if (errno == EEXIST) return true;  // another writer made it just now
        sWhy = sFailed("cannot make", sFolder);
        return false;
    }
    // The group (the sender's) may write, whatever the umask; others nothing.
    (void)::chmod(sFolder.c_str(), 0770);
    return true;
}

bool booWriteAll(int fd, const std::string& s) {
    size_t n = 0;
    while (n < s.size()) {
        const ssize_t r = ::write(fd, s.data() + n, s.size() - n);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
            if (r == 0) errno = ENOSPC;
            return false;
        }
        n += static_cast<size_t>(r);
    }
    return true;
}
}  // namespace

bool booSpoolWrite(const std::string& sSpool, const std::string& sName, const std::string& sBytes,
                   std::string& sWhy) {
    if (!booMakeFolders(sSpool, sWhy)) return false;
    const std::string sFinal = sSpool + "/" + sName;
    const std::string sTemp = sSpool + "/." + sName + ".part";
    // The spool is shared with the operators' group: never through a link
    // or over a file someone else put there under the new object's name.
    const int fd = ::open(sTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0660);
    if (fd < 0) {
        sWhy = sFailed("cannot write in", sSpool);
        return false;
    }
    bool booOk = booWriteAll(fd, sBytes);
    if (!booOk) sWhy = sFailed("cannot write", sTemp);
    if (booOk && ::fsync(fd) != 0) {
        booOk = false;
        sWhy = sFailed("cannot force to disk", sTemp);
    }
    if (::close(fd) != 0 && booOk) {
        booOk = false;
        sWhy = sFailed("cannot write", sTemp);
    }
    if (booOk && ::rename(sTemp.c_str(), sFinal.c_str()) != 0) {
        booOk = false;
        sWhy = sFailed("cannot rename to", sFinal);
    }
    if (!booOk) {
        const int iErr = errno;
        ::unlink(sTemp.c_str());
        errno = iErr;
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int dfd = ::open(sSpool.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0 || ::fsync(dfd) != 0) {
        sWhy = sFailed("cannot force to disk", sSpool);
        if (dfd >= 0) ::close(dfd);
        return false;
    }
    ::close(dfd);
    return true;
}
