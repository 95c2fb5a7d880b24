// DCMTK's worklist server, wlmscpfs, on loopback for one test: its entries
// are dump texts the test writes, turned into <folder>/<AE>/*.wl by
// dump2dcm; it answers with each file's own character set. Started on a
// free port, stopped (and its folder removed) when the object goes.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace zyrtest {

// One scheduled step as the test writes it; texts are the bytes of the file,
// in sCharset. An empty field is left out of the file.
struct tWlEntry {
    std::string sCharset = "ISO_IR 192";
    std::string sPatientName, sPatientId = "P1", sBirthDate, sSex;
    std::string sStudyUid = "1.2.826.0.1.3680043.2.1143.1", sAccession = "A1", sReferring;
    std::string sRequestedId = "RP1", sRequestedDescription;
    std::string sStationAE = "ZYRPANWEQ", sModality = "PX", sDate;  // empty date: today
    std::string sTime = "090000", sStepId = "SPS1", sStepDescription;
};

// The dump text dump2dcm reads for the entry.
std::string sWorklistDump(const tWlEntry& e);
// Today's local date, YYYYMMDD.
std::string sToday();
// A loopback port nothing listens on right now.
int iFreeLoopbackPort();
// Waits until something accepts connections on the port (at most ms).
bool booPortOpen(int iPort, int iWaitMs);

class WorklistPeer {
public:
    explicit WorklistPeer(std::string sAE = "WLSCP");
    ~WorklistPeer();
    WorklistPeer(const WorklistPeer&) = delete;
    WorklistPeer& operator=(const WorklistPeer&) = delete;

    // Writes <AE>/<sName>.wl from the entry; false when dump2dcm failed.
    bool booAdd(const std::string& sName, const tWlEntry& e);
    // Starts the server on iPort (0: a free one); true once it accepts.
    // extra: further options of wlmscpfs (--sleep-before N, ...).
    bool booStart(int iPort = 0, const std::vector<std::string>& extra = {});
    void vStop();
    // Without its lock file the server answers every query with A700 (out of resources).
    void vRemoveLockFile();

    const std::string& sAE() const { return sAE_; }
    int iPort() const { return iPort_; }
    // "AE@127.0.0.1:port", as the settings file names it.
    std::string sPeer() const;

private:
    std::string sAE_;
    TempDir dir_;
    int iPort_ = 0;
    pid_t pid_ = -1;
};

}  // namespace zyrtest
