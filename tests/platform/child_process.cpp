#include "tests/platform/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace zyrtest {

Child spawnChild(const std::string& role, const std::vector<std::string>& args) {
    Child child;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return child;

    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
    env.push_back("ZYR_PLATFORM_CHILD_ROLE=" + role);
    for (size_t i = 0; i < args.size(); ++i) env.push_back("ZYR_PLATFORM_CHILD_ARG" + std::to_string(i) + "=" + args[i]);
    std::vector<char*> envp;
    for (std::string& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);

    char exe[] = "/proc/self/exe";
    char* argv[] = {exe, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);  // the report pipe is the child's fd 3
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, exe, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return child;
    }
    child.pid = pid;
    child.fd = fds[0];
    return child;
}

std::string readLine(const Child& child) {
    std::string line;
    char c = 0;
    for (;;) {
        const ssize_t n = read(child.fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || c == '\n') break;
        line.push_back(c);
    }
    return line;
}

void killChild(Child& child) {
    if (child.pid > 0) {
        kill(child.pid, SIGKILL);
        waitChild(child);
    }
}

int waitChild(Child& child) {
    int status = 0;
    int code = -1;
    if (child.pid > 0) {
        while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
        }
        code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        child.pid = -1;
    }
    if (child.fd >= 0) {
        close(child.fd);
        child.fd = -1;
    }
    return code;
}

}  // namespace zyrtest
