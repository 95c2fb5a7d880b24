#include "dicom/store_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace store {

SpoolLock::~SpoolLock() { vRelease(); }

bool SpoolLock::booTake(bool booWait) {
    if (fd_ >= 0) return true;
    // The operators' senders and the service share the lock file whatever
    // their umask: its maker opens it to the group, and an flock needs no
    // write access to the file.
    int fd = open(sPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0660);
    if (fd >= 0) fchmod(fd, 0660);
    if (fd < 0) fd = open(sPath_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int r;
    do {
        r = flock(fd, LOCK_EX | (booWait ? 0 : LOCK_NB));
    } while (r != 0 && errno == EINTR && booWait);
    if (r != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void SpoolLock::vRelease() {
    if (fd_ < 0) return;
    close(fd_);  // closing the only descriptor drops the lock
    fd_ = -1;
}

bool SpoolLock::booBusy(const std::string& sSpool) {
    const int fd = open((sSpool + "/.lock").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool booBusy = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return booBusy;
}

}  // namespace store
