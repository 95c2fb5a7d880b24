// The staged zyrpan-unit started as a child process: its first line gives
// the port, then its trace comes line by line. It runs on the real clock, so
// a read waits on real I/O with a deadline.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/sim/sim_fixture.h"

namespace simtest {

class UnitProcess {
public:
    ~UnitProcess() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        ::close(out_);
    }
    // Starts it with these arguments; the first line it printed.
    std::string sStart(const std::vector<std::string>& args) {
        std::vector<std::string> all{sStage() + "/zyrpan-unit"};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return "no pipe";
        if ((pid_ = ::fork()) == 0) {
            ::dup2(fds[1], 1);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out_ = fds[0];
        const std::string first = sLine();
        if (first.rfind("listening on 127.0.0.1:", 0) == 0) port = static_cast<uint16_t>(std::stoi(first.substr(23)));
        return first;
    }
    // The next line it printed; empty when none came within 3 s.
    std::string sLine() {
        size_t nl;
        while ((nl = buf_.find('\n')) == std::string::npos) {
            pollfd p{out_, POLLIN, 0};
            char chunk[512];
            const ssize_t n = ::poll(&p, 1, 3000) > 0 ? ::read(out_, chunk, sizeof chunk) : 0;
            if (n <= 0) return {};
            buf_.append(chunk, static_cast<size_t>(n));
        }
        const std::string line = buf_.substr(0, nl);
        buf_.erase(0, nl + 1);
        return line;
    }

    uint16_t port = 0;

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buf_;
};

}  // namespace simtest
