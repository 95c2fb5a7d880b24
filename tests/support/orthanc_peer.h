// A real archive on loopback for the DICOM tests: Debian's Orthanc started
// on free DICOM and HTTP ports with a configuration and storage of its own in
// a temporary folder, read back through its REST interface, and stopped (or
// killed) by the test. Plugins and further configuration members can be
// given, e.g. the worklist plugin and its folder.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace zyrtest {

// A TCP port on 127.0.0.1 that was free a moment ago.
int iFreePort();

struct tOrthancModality {
    std::string sName, sAE, sHost = "127.0.0.1";
    int iPort = 0;
};

struct tOrthancOptions {
    std::string sAE = "ARCHIVE";
    std::vector<tOrthancModality> modalities;  // DicomModalities (who may be answered)
    std::vector<std::string> plugins;          // shared objects to load
    // More top-level members, "\"Key\": value, ..."; @FOLDER@ stands for the
    // peer's own temporary folder (e.g. a worklist database inside it).
    std::string sExtraJson;
};

class OrthancPeer {
public:
    explicit OrthancPeer(tOrthancOptions t = {});
    ~OrthancPeer();
    OrthancPeer(const OrthancPeer&) = delete;
    OrthancPeer& operator=(const OrthancPeer&) = delete;

    // Starts Orthanc (again, on the same ports and storage after a stop) and
    // waits until its REST interface answers; false with the reason (and the
    // log's tail) otherwise.
    bool booStart(std::string& sWhy, int iTimeoutMs = 60000);
    // SIGTERM and wait; vKill: SIGKILL, as a crash.
    void vStop();
    void vKill();
    bool booRunning() const { return pid_ > 0; }

    int iDicomPort() const { return iDicom_; }
    int iHttpPort() const { return iHttp_; }
    const std::string& sAE() const { return t_.sAE; }
    const std::string& sFolder() const { return sDir_; }
    std::string sLog() const;

    // GET on the REST interface: the HTTP status (0 when no answer) and the body.
    int iGet(const std::string& sPath, std::string& sBody) const;
    // Any request (DELETE, POST with a body) on the REST interface.
    int iRequest(const std::string& sMethod, const std::string& sPath, const std::string& sSend,
                 std::string& sBody) const;
    // Orthanc's ids of the stored instances; empty on no answer.
    std::vector<std::string> instanceIds() const;
    // One tag of an instance by its keyword (simplified-tags), "" when absent.
    std::string sTag(const std::string& sInstanceId, const std::string& sKeyword) const;
    // SOP instance UIDs of everything stored.
    std::vector<std::string> storedSopInstanceUids() const;

private:
    void vEnd(int iSignal);

    tOrthancOptions t_;
    std::string sDir_;
    int iDicom_ = 0, iHttp_ = 0;
    pid_t pid_ = -1;
};

}  // namespace zyrtest
