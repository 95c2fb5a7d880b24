// What the sender's tests share: objects made with the toolkit under fixed
// UIDs, a program folder with the staged sender and settings of the test's
// own, the sender run to its end or left running, and a scripted archive
// that answers every C-STORE with the status a test chooses.
#pragma once
#include <QProcess>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

namespace storetest {

// A small Digital X-Ray (for presentation) object with the given SOP
// instance UID, written as <folder>/<uid>.dcm; iSide pixels square.
std::string sWriteObject(const std::string& sFolder, const std::string& sUid, int iSide = 16);

// A program folder holding a copy of the staged sender, its settings file
// and the spool (spool/ inside the folder unless Spool says otherwise).
class SenderFolder {
public:
    SenderFolder();
    // Writes [DICOM] with these keys on top of a working default (enabled,
    // pixel spacing, short back-off).
    void vSettings(const std::map<std::string, std::string>& keys);
    std::string sSpool() const { return dir_.file("spool"); }
    std::string sProgram() const { return dir_.file("zyr-pan-weq-store"); }
    const zyrtest::TempDir& dir() const { return dir_; }

    struct tRun {
        int iExit = -1;  // -1: killed or did not end in time
        std::string sOut, sErr;
    };
    // Runs the sender with these arguments until it ends (or iTimeoutMs).
    tRun tRunToEnd(const QStringList& args, int iTimeoutMs = 60000, int iUid = -1) const;
    // Starts it and leaves it running.
    std::unique_ptr<QProcess> pStart(const QStringList& args) const;

private:
    zyrtest::TempDir dir_;
};

// An archive that answers the statuses of its script in turn (the last one
// for all later stores), and can hold each answer back until released.
class ScriptedArchive {
public:
    explicit ScriptedArchive(std::vector<unsigned short> statuses, std::string sAE = "SCRIPTED");
    ~ScriptedArchive();
    int iPort() const { return iPort_; }
    const std::string& sAE() const { return sAE_; }
    // SOP instance UIDs of the stores received, in order (answered or not).
    std::vector<std::string> received() const;
    // While held, a received store is not answered.
    void vHold(bool booHold);

    struct Impl;

private:
    std::string sAE_;
    int iPort_ = 0;
    std::unique_ptr<Impl> p_;
};

// Waits (real time) until pred holds; false after iTimeoutMs.
bool booWaitFor(const std::function<bool()>& pred, int iTimeoutMs);

}  // namespace storetest
