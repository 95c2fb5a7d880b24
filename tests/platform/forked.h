// A second copy of this test program for the tests that need another
// process: the child runs the given steps, reports lines to its parent
// through a pipe, and ends there without returning into the tests.
#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace zyrtest {

using Report = std::function<void(const std::string& line)>;

class Forked {
public:
    explicit Forked(const std::function<void(const Report&)>& steps) {
        int fds[2] = {-1, -1};
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            steps([fd = fds[1]](const std::string& line) { (void)!write(fd, (line + "\n").data(), line.size() + 1); });
            _exit(0);
        }
        close(fds[1]);
        fd_ = fds[0];
    }
    ~Forked() {
        vKill();
        close(fd_);
    }

    // The child's next line; empty when it ended without one.
    std::string sLine() const {
        std::string line;
        char c = 0;
        while (read(fd_, &c, 1) == 1 && c != '\n') line.push_back(c);
        return line;
    }
    // Ends the child at once, as a crash or a power cut would.
    void vKill() {
        if (pid_ > 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
};

}  // namespace zyrtest
