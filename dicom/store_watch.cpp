#include "dicom/store_watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>

namespace store {

SpoolWatch::SpoolWatch(const std::string& sSpool) {
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ >= 0 && inotify_add_watch(fd_, sSpool.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE) < 0) {
        close(fd_);
        fd_ = -1;
    }
}

SpoolWatch::~SpoolWatch() {
    if (fd_ >= 0) close(fd_);
}

void SpoolWatch::vWait(double dSeconds, const std::atomic<bool>& stop) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(dSeconds);
    while (!stop && std::chrono::steady_clock::now() < end) {
        // Short slices: a stop request is seen within a tenth of a second.
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, fd_ >= 0 ? 1 : 0, 100) > 0) {
            char buf[4096];
            while (read(fd_, buf, sizeof buf) > 0) {
            }
            return;
        }
    }
}

}  // namespace store
