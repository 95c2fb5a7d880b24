#include "sim/fd_wait.h"

#include <poll.h>

#include "platform/tick_clock.h"

namespace sim {

bool booWaitFd(int fd, short events, uint32_t timeoutMs) {
    uint32_t start = platform::GetTickCount();
    for (;;) {
        pollfd p{fd, events, 0};
        if (::poll(&p, 1, 0) > 0) return true;
        const uint32_t now = platform::GetTickCount();
        if (now < start) start = now;  // the counter wrapped
        if (now - start >= timeoutMs) return false;
        platform::Sleep(1);
    }
}

}  // namespace sim
