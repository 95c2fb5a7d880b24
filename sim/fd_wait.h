// Waiting for a descriptor without blocking the caller's clock: the wait
// polls with no timeout and sleeps through the platform clock in between,
// so that the deadline is counted like every other wait of the library.
#pragma once
#include <cstdint>

namespace sim {

// True when fd shows any of events (poll flags) before timeoutMs passes.
bool booWaitFd(int fd, short events, uint32_t timeoutMs);

}  // namespace sim
