// Second processes for the tests that need one: a copy of this test program
// started with a role in its environment runs that role instead of the tests
// (see child_roles.cpp) and reports to its parent through a pipe.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace zyrtest {

struct Child {
    pid_t pid = -1;
    int fd = -1;  // read end of the child's report pipe
};

Child spawnChild(const std::string& role, const std::vector<std::string>& args);
// The next report line without its '\n'; empty at end of the pipe.
std::string readLine(const Child& child);
// Kills the child as a crash would (SIGKILL) and reaps it.
void killChild(Child& child);
// Waits for the child's end; its exit code, or -1 when a signal ended it.
int waitChild(Child& child);

}  // namespace zyrtest
