#include "bench/soak_proc.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>

extern char** environ;

namespace soak {

long lVmRssKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string sLine;
    while (std::getline(in, sLine)) {
        if (sLine.rfind("VmRSS:", 0) == 0) return std::atol(sLine.c_str() + 6);
    }
    return -1;
}

int iOpenFds(pid_t pid) {
    DIR* d = opendir(("/proc/" + std::to_string(pid) + "/fd").c_str());
    if (d == nullptr) return -1;
    int n = 0;
    while (const dirent* e = readdir(d)) {
        if (e->d_name[0] != '.') ++n;
    }
    closedir(d);
    return n;
}

bool booAlive(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string sStat;
    std::getline(in, sStat);
    const size_t close = sStat.rfind(')');
    return close != std::string::npos && close + 2 < sStat.size() && sStat[close + 2] != 'Z';
}

UnitProcess::~UnitProcess() {
    if (pid_ > 0) iStop(SIGKILL);
}

bool UnitProcess::booStart(const std::string& sProgram, uint16_t port, const std::string& sConfig,
                           std::string& sWhy) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        sWhy = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t acts;
    posix_spawn_file_actions_init(&acts);
    posix_spawn_file_actions_adddup2(&acts, fds[1], STDOUT_FILENO);
    std::vector<std::string> args = {sProgram, "--port", std::to_string(port)};
    if (!sConfig.empty()) args.insert(args.end(), {"--config", sConfig});
    std::vector<char*> argv;
    for (std::string& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);
    const int err = posix_spawn(&pid_, sProgram.c_str(), &acts, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&acts);
    close(fds[1]);
    out_ = fds[0];
    if (err != 0) {
        pid_ = -1;
        sWhy = sProgram + ": " + std::strerror(err);
        return false;
    }
    // The first line names the port.
    std::string sLine;
    char ch = 0;
    pollfd p{out_, POLLIN, 0};
    while (sLine.size() < 200 && poll(&p, 1, 10000) > 0 && read(out_, &ch, 1) == 1 && ch != '\n') sLine += ch;
    const std::string kHead = "listening on 127.0.0.1:";
    if (sLine.rfind(kHead, 0) != 0) {
        sWhy = "no listening line (got \"" + sLine + "\")";
        iStop(SIGKILL);
        return false;
    }
    port_ = static_cast<uint16_t>(std::atoi(sLine.c_str() + kHead.size()));
    drain_ = std::thread([this] {
        char buf[65536];
        for (ssize_t n; (n = read(out_, buf, sizeof buf)) != 0;) {
            if (n > 0) traceBytes_ += static_cast<uint64_t>(n);
            else if (errno != EINTR) break;
        }
    });
    return true;
}

int UnitProcess::iStop(int iSignal) {
    int status = 0;
    if (pid_ > 0) {
        kill(pid_, iSignal);
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    if (drain_.joinable()) drain_.join();
    if (out_ >= 0) close(out_);
    out_ = -1;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

QuickUnit::~QuickUnit() {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
}

bool QuickUnit::booLaunch(const std::string& sStage) {
    dir_ = std::filesystem::temp_directory_path() / ("zyr_unit." + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    const std::string sConfig = (dir_ / "unit.ini").string();
    std::ofstream(sConfig) << "[ZyrPan2]\nAnswerDelay=10\n";
    std::string sWhy;
    if (booStart(sStage + "/zyrpan-unit", 0, sConfig, sWhy)) return true;
    std::printf("FAIL: zyrpan-unit did not start: %s\n", sWhy.c_str());
    return false;
}

int iVerdict(bool booPass) {
    std::printf("%s\n", booPass ? "PASS" : "FAIL");
    return booPass ? 0 : 1;
}

}  // namespace soak
