// The objects the archive has stored but not yet committed to (with
// [DICOM] Commit=1): they wait in committing/ inside the spool until the
// archive's report names them. A committed object is removed; one the
// archive did not commit to goes back into the queue to be sent again
// (after Tries such reports, to failed/). Objects that wait longer than
// CommitWaitSeconds after a request are asked for again.
#pragma once
#include <chrono>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "dicom/store_commit.h"

namespace store {

class CommitBook {
public:
    CommitBook(std::string sSpool, double dWaitSeconds, int iTries, std::ostream& log);

    // Takes in what earlier runs left in committing/ (asked for again at once).
    void vLoad();
    // A stored object: moves it into committing/. False on a spool fault.
    bool booStored(const std::string& sName, const tIdentity& id, std::string& sWhy);
    // Objects to ask for now: never asked by this run, and (booOverdue) those
    // asked longer ago than the wait.
    std::vector<tIdentity> due(bool booOverdue) const;
    void vAsked(const std::vector<tIdentity>& ids);
    // From the listener's thread: the archive's word on one object.
    void vReport(const std::string& sInstance, bool booCommitted, const std::string& sWhy);

    size_t iWaiting() const;
    // Every waiting object was asked for, longer ago than the wait.
    bool booAllOverdue() const;
    bool booSpoolFault() const;

private:
    using Clock = std::chrono::steady_clock;
    struct tEntry {
        std::string sName;
        tIdentity id;
        Clock::time_point asked{};
        bool booAsked = false;
    };
    std::string sSpool_;
    Clock::duration wait_;
    int iTries_;
    std::ostream& log_;
    mutable std::mutex m_;
    std::map<std::string, tEntry> byInstance_;
    std::map<std::string, int> failures_;  // reports that did not commit, by instance
    bool booSpoolFault_ = false;
};

}  // namespace store
