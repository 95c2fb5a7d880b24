// zyrpan-unit started as a child process for the transport tests: its
// first line gives the port, and every later line of its trace is kept.
// These tests talk to another process, so they wait on real I/O with a
// deadline instead of stepping a fake clock.
#pragma once
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace simtest {

// The folder of the staged program: $ZYR_STAGE_DIR, else beside the tests.
inline std::string sStageDir() {
    if (const char* env = std::getenv("ZYR_STAGE_DIR"); env != nullptr && *env != '\0') return env;
    char exe[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string path(exe, n > 0 ? static_cast<size_t>(n) : 0);
    path = path.substr(0, path.rfind('/'));  // build/tests
    return path.substr(0, path.rfind('/')) + "/stage";
}

class UnitProcess {
public:
    UnitProcess() = default;
    UnitProcess(const UnitProcess&) = delete;
    UnitProcess& operator=(const UnitProcess&) = delete;
    ~UnitProcess() { vStop(); }

    // Starts it; false (with the reason in error) when it did not come up.
    bool booStart(const std::vector<std::string>& args, std::string& error) {
        const std::string exe = sStageDir() + "/zyrpan-unit";
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return false;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], 1);
            std::vector<char*> argv{const_cast<char*>(exe.c_str())};
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(exe.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out_ = fds[0];
        const std::string first = sLine(5000);
        const std::string prefix = "listening on 127.0.0.1:";
        if (first.rfind(prefix, 0) != 0) {
            error = exe + " said \"" + first + "\"";
            return false;
        }
        port = static_cast<uint16_t>(std::stoi(first.substr(prefix.size())));
        return true;
    }

    // The next trace line, or empty when none came within the time.
    std::string sLine(int timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const auto nl = buf_.find('\n');
            if (nl != std::string::npos) {
                std::string line = buf_.substr(0, nl);
                buf_.erase(0, nl + 1);
                lines.push_back(line);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now()).count();
            pollfd p{out_, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return {};
            char chunk[512];
            const ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0) return {};
            buf_.append(chunk, static_cast<size_t>(n));
        }
    }

    // Reads on through the trace until a line contains the text; false at
    // the deadline. Each line is matched at most once.
    bool booWaitFor(const std::string& text, int timeoutMs = 3000) {
        for (;;) {
            while (cursor_ < lines.size())
                if (lines[cursor_++].find(text) != std::string::npos) return true;
            if (sLine(timeoutMs).empty()) return false;
        }
    }

    void vStop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
        if (out_ >= 0) ::close(out_);
        out_ = -1;
    }

    uint16_t port = 0;
    std::vector<std::string> lines;

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buf_;
    size_t cursor_ = 0;
};

}  // namespace simtest
