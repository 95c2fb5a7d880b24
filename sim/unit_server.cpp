#include "sim/unit_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/tick_clock.h"
#include "sim/byte_trace.h"

namespace sim {
namespace {

std::string sPeer(int fd) {
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return "?";
    char ip[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &addr.sin_addr, ip, sizeof ip);
    return std::string(ip) + ":" + std::to_string(ntohs(addr.sin_port));
}

}  // namespace

UnitServer::UnitServer(const UnitConfig& config, TraceSink trace)
    : unit_(config, platform::GetTickCount()), trace_(std::move(trace)) {}

UnitServer::~UnitServer() {
    if (client_ >= 0) ::close(client_);
    if (listen_ >= 0) ::close(listen_);
}

bool UnitServer::booListen(uint16_t port, std::string& error) {
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listen_ < 0) {
        error = std::strerror(errno);
        return false;
    }
    const int one = 1;
    ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    socklen_t len = sizeof addr;
    // Consoles beyond the one served wait in the accept queue; a short queue
    // would drop their connection requests into the kernel's slow retries.
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listen_, SOMAXCONN) != 0 ||
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        error = std::strerror(errno);
        return false;
    }
    port_ = ntohs(addr.sin_port);
    return true;
}

void UnitServer::vStep(int maxWaitMs) {
    uint32_t now = platform::GetTickCount();
    unit_.vAdvance(now);
    if (client_ >= 0 && unit_.booLinkLost()) vDrop("link lost (LoseLinkAfter)", now);
    vFlush();

    int wait = maxWaitMs;
    if (const auto due = unit_.nextDue()) wait = std::clamp(static_cast<int32_t>(*due - now), 0, maxWaitMs);
    // While a console is served, further ones wait in the listen queue.
    pollfd fds[1] = {{client_ >= 0 ? client_ : listen_, POLLIN, 0}};
    if (fds[0].fd < 0 || ::poll(fds, 1, wait) <= 0) return;

    now = platform::GetTickCount();
    if (client_ < 0) vAccept(now);
    else vReadClient(now);
    vFlush();
}

void UnitServer::vAccept(uint32_t now) {
    const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    client_ = fd;
    if (trace_) trace_("connected " + sPeer(fd));
    unit_.vConnect(now);
}

void UnitServer::vDrop(const char* why, uint32_t now) {
    ::close(client_);
    client_ = -1;
    if (trace_) trace_(std::string("disconnected: ") + why);
    if (!unit_.booLinkLost()) unit_.vDisconnect(now);
}

void UnitServer::vReadClient(uint32_t now) {
    char buf[1024];
    const ssize_t n = ::recv(client_, buf, sizeof buf, MSG_DONTWAIT);
    if (n > 0) {
        const std::string_view bytes(buf, static_cast<size_t>(n));
        if (trace_) trace_(sTraceLine("<-", bytes));
        unit_.vReceive(bytes, now);
    } else if (n == 0) {
        vDrop("the console closed the connection", now);
    } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        vDrop(std::strerror(errno), now);
    }
}

void UnitServer::vFlush() {
    const std::string out = unit_.sTakeOutput();
    if (out.empty() || client_ < 0) return;
    if (trace_) trace_(sTraceLine("->", out));
    size_t off = 0;
    while (off < out.size()) {
        const ssize_t n = ::send(client_, out.data() + off, out.size() - off, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return vDrop(std::strerror(errno), platform::GetTickCount());
        off += static_cast<size_t>(n);
    }
}

}  // namespace sim
