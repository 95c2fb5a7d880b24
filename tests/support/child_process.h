// Loopback sockets and child programs for the peers the tests start: one
// place for the free port, the wait for a listener, and the start and end of
// a server process.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace zyrtest {

// A connected socket to 127.0.0.1:iPort, -1 when nothing accepts.
int iConnectLoopback(int iPort);
// Starts args[0] (looked up in PATH) with its output appended to sOutput;
// it gets SIGKILL should the test program die first.
pid_t pidSpawn(const std::vector<std::string>& args, const std::string& sOutput = "/dev/null");
// Sends iSignal and waits; SIGKILL after iWaitMs. pid is -1 afterwards.
void vEndChild(pid_t& pid, int iSignal, int iWaitMs);

}  // namespace zyrtest
