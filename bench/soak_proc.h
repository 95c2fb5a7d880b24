// What the soak and fault runs read of a process they watch, how they end,
// and the simulated unit's server started as a child: its port from its
// first line, the rest of its trace read and thrown away so that it never
// blocks on a full pipe.
#pragma once
#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace soak {

// Resident memory (VmRSS) in kB; -1 when the process is gone.
long lVmRssKb(pid_t pid);
// Entries of /proc/PID/fd; -1 when the process is gone.
int iOpenFds(pid_t pid);
// True while the process exists and is not a zombie.
bool booAlive(pid_t pid);

// Not copied: it owns the child and the thread that drains its output.
class UnitProcess {
public:
    ~UnitProcess();

    // Starts PROGRAM --port PORT [--config CONFIG] and waits for its
    // "listening on 127.0.0.1:PORT" line. False (with the reason) otherwise.
    bool booStart(const std::string& sProgram, uint16_t port, const std::string& sConfig, std::string& sWhy);
    // Sends the signal and reaps the process; its exit status, or 128 + the
    // signal that ended it.
    int iStop(int iSignal);
    pid_t pid() const { return pid_; }
    uint16_t port() const { return port_; }
    // Bytes of trace the server wrote so far.
    uint64_t llTraceBytes() const { return traceBytes_.load(); }

private:
    pid_t pid_ = -1;
    uint16_t port_ = 0;
    int out_ = -1;
    std::thread drain_;
    std::atomic<uint64_t> traceBytes_{0};
};

// zyrpan-unit of the stage folder for a run against the unit alone: on a
// free port, answering after 10 ms, its settings file in a folder of the
// run's own that goes with it.
class QuickUnit : public UnitProcess {
public:
    ~QuickUnit();
    // Prints the FAIL line when the unit does not start.
    bool booLaunch(const std::string& sStage);

private:
    std::filesystem::path dir_;
};

// Prints PASS or FAIL; the run's exit status.
int iVerdict(bool booPass);

}  // namespace soak
