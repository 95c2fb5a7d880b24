// Wakes the service when something is renamed or written into the spool
// (inotify); without inotify it simply waits and the spool is scanned again.
#pragma once
#include <atomic>
#include <string>

namespace store {

class SpoolWatch {
public:
    explicit SpoolWatch(const std::string& sSpool);
    ~SpoolWatch();
    SpoolWatch(const SpoolWatch&) = delete;
    SpoolWatch& operator=(const SpoolWatch&) = delete;

    // Returns after a change in the spool, after dSeconds, or soon after stop is set.
    void vWait(double dSeconds, const std::atomic<bool>& stop);

private:
    int fd_ = -1;
};

}  // namespace store
