// Where the archive's storage commitment reports arrive: the sender listens
// on [DICOM] CommitPort as StationAE for the associations the archive opens
// to it, answers each N-EVENT-REPORT and hands on which objects the archive
// committed to and which it did not.
#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <thread>

struct T_ASC_Network;
struct T_ASC_Association;

namespace store {

class CommitListener {
public:
    // sInstance: the SOP instance UID; booCommitted false with the archive's reason.
    using Report = std::function<void(const std::string& sInstance, bool booCommitted, const std::string& sWhy)>;

    CommitListener(int iPort, int iTimeoutSeconds, Report report);
    ~CommitListener();
    CommitListener(const CommitListener&) = delete;
    CommitListener& operator=(const CommitListener&) = delete;

    // Opens the port and starts listening; false with the reason.
    bool booStart(std::string& sWhy);

private:
    void vRun();
    void vServe(T_ASC_Association* pAssoc);

    int iPort_, iTimeout_;
    Report report_;
    T_ASC_Network* net_ = nullptr;
    std::atomic<bool> stop_{false};
    std::thread th_;
};

}  // namespace store
