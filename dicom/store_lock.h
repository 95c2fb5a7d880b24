// One sender per spool: an flock on <spool>/.lock (a name the queue ignores).
// The kernel drops the lock when the holder dies, killed or not.
#pragma once
#include <string>

namespace store {

class SpoolLock {
public:
    explicit SpoolLock(std::string sSpool) : sPath_(std::move(sSpool) + "/.lock") {}
    ~SpoolLock();
    SpoolLock(const SpoolLock&) = delete;
    SpoolLock& operator=(const SpoolLock&) = delete;

    // True when this process holds the lock now; booWait blocks until it does.
    bool booTake(bool booWait);
    void vRelease();
    bool booHeld() const { return fd_ >= 0; }

    // Whether some process holds the lock of the spool (without taking it).
    static bool booBusy(const std::string& sSpool);

private:
    std::string sPath_;
    int fd_ = -1;
};

}  // namespace store
