#include "tests/support/worklist_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>
#include <vector>

namespace zyrtest {
namespace {

std::string sLine(const char* sTag, const char* sVr, const std::string& sValue, const char* sIndent = "") {
    if (sValue.empty()) return {};
    return std::string(sIndent) + sTag + " " + sVr + " [" + sValue + "]\n";
}

bool booRun(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        const int fd = ::open("/dev/null", O_WRONLY);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

int iFreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof a;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    close(fd);
    return port;
}

bool booPortOpen(int iPort, int iWaitMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(iWaitMs);
    do {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<uint16_t>(iPort));
        const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        close(fd);
        if (ok) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

WorklistPeer::WorklistPeer(std::string sAE) : sAE_(std::move(sAE)) {
    std::filesystem::create_directories(dir_.file(sAE_));
    writeBytes(dir_.file(sAE_ + "/lockfile"), "");
}

WorklistPeer::~WorklistPeer() { vStop(); }

bool WorklistPeer::booAdd(const std::string& sName, const tWlEntry& e) {
    const std::string sDump = dir_.file(sName + ".dump");
    writeBytes(sDump, sWorklistDump(e));
    return booRun({"dump2dcm", "-q", sDump, dir_.file(sAE_ + "/" + sName + ".wl")});
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
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
        const int fd = ::open("/dev/null", O_WRONLY);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
        }
        execvp("wlmscpfs", argv.data());
        _exit(127);
    }
    return booPortOpen(iPort_, 5000);
}

void WorklistPeer::vStop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100 && waitpid(pid_, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (waitpid(pid_, &status, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
}

void WorklistPeer::vRemoveLockFile() { std::filesystem::remove(dir_.file(sAE_ + "/lockfile")); }

std::string WorklistPeer::sPeer() const { return sAE_ + "@127.0.0.1:" + std::to_string(iPort_); }

}  // namespace zyrtest
