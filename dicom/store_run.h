// The sender's two ways of running: one pass over what waits (--once), and
// the service that watches the spool. Both take the spool's lock, so only
// one sender delivers from a spool at a time.
#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "dicom/store_commit_book.h"
#include "dicom/store_commit_listen.h"
#include "dicom/store_send.h"
#include "dicom/store_tuning.h"

namespace store {

// Exit statuses of --once.
constexpr int kOnceEmpty = 0;      // nothing waits (or another sender is delivering)
constexpr int kOnceLeft = 1;       // objects still wait: not taken (or not committed to) in time
constexpr int kOnceRefused = 3;    // nothing waits, but the archive refused objects (see failed/)
constexpr int kOnceSpoolFault = 4; // the spool could not be changed: nothing more was sent

struct tRunSetup {
    std::string sSpool;
    tArchive tTo;
    tStoreTuning tTune;
    bool booCommit = false;  // keep each object until the archive commits to it
};

class Sender {
public:
    // pStop: set (by a signal handler) to end after the object in flight.
    Sender(tRunSetup t, std::ostream& log, const std::atomic<bool>& stop);
    int iOnce();
    int iServe();

private:
    std::vector<std::string> pending() const;
    // With Commit=1: the book of stored objects and the port their reports
    // come to.
    void vStartCommitment();
    // Sends one batch (and asks for commitment of what is due); true when
    // some object is to be tried again.
    bool booPass(std::vector<std::string> names, bool booOnce);
    // --once: stored objects still wait for a report that may come.
    bool booAwaitingReports() const;
    // Sleeps, waking early when asked to stop.
    void vSleep(double dSeconds) const;
    void vBackOff();

    tRunSetup t_;
    std::ostream& log_;
    const std::atomic<bool>& stop_;
    double dBackoff_;
    std::map<std::string, int> tries_;
    std::set<std::string> givenUp_;  // --once: tried often enough this run
    int iRefused_ = 0;
    bool booSpoolFault_ = false;
    std::unique_ptr<CommitBook> book_;
    std::unique_ptr<CommitListener> listener_;  // after book_: it reports into it
};

}  // namespace store
