#include "tests/support/worklist_peer.h"

#include <signal.h>
#include <sys/wait.h>

#include <ctime>
#include <filesystem>
#include <vector>

#include "tests/support/child_process.h"

namespace zyrtest {
namespace {

std::string sLine(const char* sTag, const char* sVr, const std::string& sValue, const char* sIndent = "") {
    if (sValue.empty()) return {};
    return std::string(sIndent) + sTag + " " + sVr + " [" + sValue + "]\n";
}

}  // namespace

std::string sToday() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y%m%d", &t);
    return buf;
}

std::string sWorklistDump(const tWlEntry& e) {
    std::string s;
    s += sLine("(0008,0005)", "CS", e.sCharset);
    s += sLine("(0008,0050)", "SH", e.sAccession);
    s += sLine("(0008,0090)", "PN", e.sReferring);
    s += sLine("(0010,0010)", "PN", e.sPatientName);
    s += sLine("(0010,0020)", "LO", e.sPatientId);
    s += sLine("(0010,0030)", "DA", e.sBirthDate);
    s += sLine("(0010,0040)", "CS", e.sSex);
    s += sLine("(0020,000d)", "UI", e.sStudyUid);
    s += sLine("(0032,1060)", "LO", e.sRequestedDescription);
    s += "(0040,0100) SQ (Sequence with undefined length)\n";
    s += "  (fffe,e000) na (Item with undefined length)\n";
    s += sLine("(0008,0060)", "CS", e.sModality, "    ");
    s += sLine("(0040,0001)", "AE", e.sStationAE, "    ");
    s += sLine("(0040,0002)", "DA", e.sDate.empty() ? sToday() : e.sDate, "    ");
    s += sLine("(0040,0003)", "TM", e.sTime, "    ");
    s += sLine("(0040,0007)", "LO", e.sStepDescription, "    ");
    s += sLine("(0040,0009)", "SH", e.sStepId, "    ");
    s += "  (fffe,e00d) na (ItemDelimitationItem)\n";
    s += "(fffe,e0dd) na (SequenceDelimitationItem)\n";
    s += sLine("(0040,1001)", "SH", e.sRequestedId);
    return s;
}

WorklistPeer::WorklistPeer(std::string sAE) : sAE_(std::move(sAE)) {
    std::filesystem::create_directories(dir_.file(sAE_));
    writeBytes(dir_.file(sAE_ + "/lockfile"), "");
}

WorklistPeer::~WorklistPeer() { vStop(); }

bool WorklistPeer::booAdd(const std::string& sName, const tWlEntry& e) {
    const std::string sDump = dir_.file(sName + ".dump");
    writeBytes(sDump, sWorklistDump(e));
    const pid_t pid = pidSpawn({"dump2dcm", "-q", sDump, dir_.file(sAE_ + "/" + sName + ".wl")});
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool WorklistPeer::booStart(int iPort, const std::vector<std::string>& extra) {
    vStop();
    iPort_ = iPort != 0 ? iPort : iFreeLoopbackPort();
    // One process, no forks: a kill stops all of it. Incomplete files are
    // served too, for the entries that lack optional keys; each answer keeps
    // its file's character set.
    std::vector<std::string> args = {"wlmscpfs", "--single-process", "-dfr", "-csk", "-dfp", dir_.path()};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(std::to_string(iPort_));
    pid_ = pidSpawn(args);
    if (pid_ < 0) return false;
    return booPortOpen(iPort_, 5000);
}

void WorklistPeer::vStop() { vEndChild(pid_, SIGTERM, 2000); }

void WorklistPeer::vRemoveLockFile() { std::filesystem::remove(dir_.file(sAE_ + "/lockfile")); }

std::string WorklistPeer::sPeer() const { return sAE_ + "@127.0.0.1:" + std::to_string(iPort_); }

}  // namespace zyrtest
