#include "dicom/store_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include <unistd.h>

#include "dicom/store_lock.h"
#include "dicom/store_spool.h"
#include "dicom/store_watch.h"

namespace store {

Sender::Sender(tRunSetup t, std::ostream& log, const std::atomic<bool>& stop)
    : t_(std::move(t)), log_(log), stop_(stop), dBackoff_(t_.tTune.dRetrySeconds) {}

std::vector<std::string> Sender::pending() const {
    std::vector<std::string> v = queuedNames(t_.sSpool);
    std::erase_if(v, [&](const std::string& s) { return givenUp_.count(s) != 0; });
    return v;
}

void Sender::vSleep(double dSeconds) const {
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(dSeconds));
    for (auto now = std::chrono::steady_clock::now(); !stop_ && now < end; now = std::chrono::steady_clock::now())
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(std::chrono::milliseconds(50), end - now));
}

void Sender::vBackOff() {
    log_ << "next try in " << dBackoff_ << " s" << std::endl;
    vSleep(dBackoff_);
    dBackoff_ = std::min(dBackoff_ * 2, t_.tTune.dRetryMaxSeconds);
}

void Sender::vStartCommitment() {
    if (!t_.booCommit) return;
    book_ = std::make_unique<CommitBook>(t_.sSpool, t_.tTune.dCommitWaitSeconds, t_.tTune.iTries, log_);
    book_->vLoad();
    listener_ = std::make_unique<CommitListener>(
        t_.tTune.iCommitPort, t_.tTune.iTimeoutSeconds,
        [this](const std::string& sInstance, bool booCommitted, const std::string& sWhy) {
            book_->vReport(sInstance, booCommitted, sWhy);
        });
    std::string sWhy;
    if (!listener_->booStart(sWhy)) {
        log_ << sWhy << "; stored objects wait in " << kCommitting << "/" << std::endl;
        listener_.reset();
    }
}

bool Sender::booAwaitingReports() const {
    return book_ && listener_ && book_->iWaiting() > 0 && !book_->booAllOverdue();
}

bool Sender::booPass(std::vector<std::string> names, bool booOnce) {
    const bool booCountTries = booOnce;
    if (names.size() > kMaxObjectsPerAssociation) names.resize(kMaxObjectsPerAssociation);
    std::vector<std::string> paths;
    for (const auto& s : names) paths.push_back(t_.sSpool + "/" + s);
    int iWaiting = 0;
    std::string sWaitWhy;
    tCommitAsk ask;
    if (book_) ask.again = book_->due(!booOnce);
    vSendFiles(t_.tTo, paths, [&](size_t i, const tVerdict& v) {
        const std::string& sName = names[i];
        std::string sWhy;
        switch (v.e) {
            case eVerdict::Stored:
                tries_.erase(sName);
                if (book_) {
                    if (book_->booStored(sName, v.id, sWhy))
                        log_ << "stored " << sName << (v.sWhy.empty() ? "" : " (" + v.sWhy + ")")
                             << ", waiting for the archive's commitment" << std::endl;
                    else
                        log_ << sName << " was stored but stays queued: " << sWhy << std::endl;
                } else if (!booRemoveDelivered(t_.sSpool, sName, sWhy)) {
                    log_ << sName << " was delivered but stays queued: " << sWhy << std::endl;
                    booSpoolFault_ = true;
                } else {
                    log_ << "delivered " << sName << (v.sWhy.empty() ? "" : " (" + v.sWhy + ")") << std::endl;
                }
                break;
            case eVerdict::Refused:
                tries_.erase(sName);
                if (!booMoveToFailed(t_.sSpool, sName, v.sWhy, sWhy)) {
                    log_ << sName << " was refused (" << v.sWhy << ") but stays queued: " << sWhy << std::endl;
                    booSpoolFault_ = true;
                } else {
                    log_ << sName << " refused for good, moved to failed/: " << v.sWhy << std::endl;
                    ++iRefused_;
                }
                break;
            case eVerdict::Retry:
                ++iWaiting;
                sWaitWhy = v.sWhy;
                if (booCountTries && ++tries_[sName] >= t_.tTune.iTries) givenUp_.insert(sName);
                break;
        }
    }, book_ ? &ask : nullptr);
    if (book_) {
        // Asked or not, each is asked again only after the wait: an archive
        // that takes no commitment requests is not asked in a tight loop.
        book_->vAsked(ask.asked);
        if (!ask.booAsked && !ask.asked.empty() && iWaiting == 0)
            log_ << "storage commitment not asked for " << ask.asked.size() << " object(s): " << ask.sWhy << std::endl;
        if (book_->booSpoolFault()) booSpoolFault_ = true;
    }
    if (iWaiting > 0) {
        log_ << iWaiting << " object(s) wait: " << sWaitWhy << std::endl;
        vNoteWaiting(t_.sSpool, sWaitWhy);
    } else if (!paths.empty()) {
        vClearWaiting(t_.sSpool);
    }
    return iWaiting > 0;
}

int Sender::iOnce() {
    const std::string sProblem = sSpoolProblem(t_.sSpool);
    if (!sProblem.empty()) {
        if (access(t_.sSpool.c_str(), F_OK) != 0) return kOnceEmpty;  // no spool yet: nothing waits
        log_ << sProblem << std::endl;
        return kOnceSpoolFault;
    }
    SpoolLock lock(t_.sSpool);
    if (!lock.booTake(false)) {
        log_ << "another sender is delivering from " << t_.sSpool << "; it takes new objects too" << std::endl;
        return kOnceEmpty;
    }
    vStartCommitment();
    while (!stop_ && !booSpoolFault_) {
        std::vector<std::string> names = pending();
        if (names.empty() && book_ && !book_->due(false).empty()) {
            booPass({}, true);  // commitment asked for objects stored by earlier runs
            continue;
        }
        if (names.empty() && booAwaitingReports()) {
            vSleep(0.02);
            continue;
        }
        if (names.empty()) {
            // The console may have queued an object and seen this run hold
            // the lock just now: look once more after letting go of it, and
            // carry on if the lock is still to be had.
            lock.vRelease();
            if (pending().empty() || !lock.booTake(false)) break;
            continue;
        }
        if (!booPass(std::move(names), true)) {
            dBackoff_ = t_.tTune.dRetrySeconds;
        } else if (!pending().empty()) {
            vBackOff();
        }
    }
    lock.vRelease();
    if (booSpoolFault_) return kOnceSpoolFault;
    if (book_ && book_->booSpoolFault()) return kOnceSpoolFault;
    if (!queuedNames(t_.sSpool).empty() || !committingNames(t_.sSpool).empty()) return kOnceLeft;
    return iRefused_ > 0 ? kOnceRefused : kOnceEmpty;
}

int Sender::iServe() {
    SpoolLock lock(t_.sSpool);
    bool booSaid = false;
    while (!stop_ && !lock.booTake(false)) {
        if (!booSaid) log_ << "waiting for the spool " << t_.sSpool << " (missing, closed, or another sender)" << std::endl;
        booSaid = true;
        vSleep(2.0);
    }
    if (stop_) return 0;
    log_ << "delivering from " << t_.sSpool << " to " << t_.tTo.tPeer.sAE << "@" << t_.tTo.tPeer.sHost << ":"
         << t_.tTo.tPeer.iPort << std::endl;
    SpoolWatch watch(t_.sSpool);
    vStartCommitment();
    while (!stop_) {
        std::vector<std::string> names = pending();
        if (names.empty() && (!book_ || book_->due(true).empty())) {
            dBackoff_ = t_.tTune.dRetrySeconds;
            watch.vWait(5.0, stop_);
            continue;
        }
        booSpoolFault_ = false;
        if (booPass(std::move(names), false) || booSpoolFault_) vBackOff();
        else dBackoff_ = t_.tTune.dRetrySeconds;
    }
    return 0;
}

}  // namespace store
