#include "dicom/store_commit_book.h"

#include "dicom/store_spool.h"

namespace store {

CommitBook::CommitBook(std::string sSpool, double dWaitSeconds, int iTries, std::ostream& log)
    : sSpool_(std::move(sSpool)),
      wait_(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(dWaitSeconds))),
      iTries_(iTries),
      log_(log) {}

void CommitBook::vLoad() {
    std::lock_guard<std::mutex> g(m_);
    for (const std::string& sName : committingNames(sSpool_)) {
        tIdentity id;
        std::string sWhy;
        if (booReadIdentity(sSpool_ + "/" + kCommitting + "/" + sName, id, sWhy))
            byInstance_[id.sInstance] = {sName, id};
    }
}

bool CommitBook::booStored(const std::string& sName, const tIdentity& id, std::string& sWhy) {
    std::lock_guard<std::mutex> g(m_);
    if (!booMoveInSpool(sSpool_, "", kCommitting, sName, sWhy)) {
        booSpoolFault_ = true;
        return false;
    }
    byInstance_[id.sInstance] = {sName, id};
    return true;
}

std::vector<tIdentity> CommitBook::due(bool booOverdue) const {
    std::lock_guard<std::mutex> g(m_);
    std::vector<tIdentity> v;
    const auto now = Clock::now();
    for (const auto& [s, e] : byInstance_)
        if (!e.booAsked || (booOverdue && now - e.asked > wait_)) v.push_back(e.id);
    return v;
}

void CommitBook::vAsked(const std::vector<tIdentity>& ids) {
    std::lock_guard<std::mutex> g(m_);
    const auto now = Clock::now();
    for (const tIdentity& id : ids) {
        const auto it = byInstance_.find(id.sInstance);
        if (it == byInstance_.end()) continue;
        it->second.asked = now;
        it->second.booAsked = true;
    }
}

void CommitBook::vReport(const std::string& sInstance, bool booCommitted, const std::string& sReason) {
    std::lock_guard<std::mutex> g(m_);
    const auto it = byInstance_.find(sInstance);
    if (it == byInstance_.end()) return;  // not ours, or settled already
    const std::string sName = it->second.sName;
    std::string sWhy;
    bool ok;
    if (booCommitted) {
        ok = booRemoveDelivered(sSpool_ + "/" + kCommitting, sName, sWhy);
        if (ok) log_ << "committed " << sName << std::endl;
    } else if (++failures_[sInstance] >= iTries_) {
        ok = booMoveInSpool(sSpool_, kCommitting, "", sName, sWhy) &&
             booMoveToFailed(sSpool_, sName, "stored, but " + sReason, sWhy);
        if (ok) log_ << sName << " refused for good, moved to failed/: " << sReason << std::endl;
    } else {
        ok = booMoveInSpool(sSpool_, kCommitting, "", sName, sWhy);
        if (ok) log_ << sName << ": " << sReason << "; sent again" << std::endl;
    }
    if (!ok) {
        log_ << sName << ": " << sWhy << std::endl;
        booSpoolFault_ = true;
        return;
    }
    byInstance_.erase(it);
}

size_t CommitBook::iWaiting() const {
    std::lock_guard<std::mutex> g(m_);
    return byInstance_.size();
}

bool CommitBook::booAllOverdue() const {
    std::lock_guard<std::mutex> g(m_);
    const auto now = Clock::now();
    for (const auto& [s, e] : byInstance_)
        if (!e.booAsked || now - e.asked <= wait_) return false;
    return true;
}

bool CommitBook::booSpoolFault() const {
    std::lock_guard<std::mutex> g(m_);
    return booSpoolFault_;
}

}  // namespace store
