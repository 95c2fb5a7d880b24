// The file of one run's link trace (Trace=1): always in the running user's
// own state folder, $XDG_STATE_HOME/zyr-pan-weq/ (an absolute
// XDG_STATE_HOME only), else ~/.local/state/zyr-pan-weq/. The settings file
// may be written by every operator of the unit, so nothing in it chooses
// where the library writes: the folder is created 0700, must be a real
// folder (not a symbolic link) of the user's own that no one else may write
// to, and each run makes a new file there, 0600, never through a link.
#pragma once
#include <cstddef>
#include <string>

namespace sim {

// Trace files kept in the folder: the oldest go when a run adds one more.
inline constexpr size_t kTraceFilesKept = 20;

struct TraceFile {
    int fd = -1;          // open for writing, or -1
    std::string path;     // the file, or the folder that was refused
    std::string why;      // when fd is -1: why there is no file
};

// The state folder the trace files go to (not checked, not created).
std::string sTraceFolder();

// Creates this run's file, named after the local time and the process
// ("trace-20250304-091402-118-4711.txt"), and removes the oldest trace
// files beyond kTraceFilesKept.
TraceFile openRunTraceFile();

}  // namespace sim
