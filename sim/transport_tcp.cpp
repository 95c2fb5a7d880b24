#include "sim/transport_tcp.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "sim/fd_wait.h"

namespace sim {
namespace {

// Connects one address without blocking longer than the timeout.
int connectOne(const addrinfo* ai, uint32_t timeoutMs) {
    const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
    if (fd < 0) return -1;
    int rc = ::connect(fd, ai->ai_addr, ai->ai_addrlen);
    if (rc != 0 && errno == EINPROGRESS) {
        int err = ETIMEDOUT;
        if (booWaitFd(fd, POLLOUT, timeoutMs)) {
            socklen_t len = sizeof err;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
        }
        rc = err == 0 ? 0 : -1;
    }
    if (rc != 0) {
        ::close(fd);
        return -1;
    }
    // Frames are a few bytes each and the console waits for every ACK.
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

}  // namespace

int32_t TcpTransport::open() {
    close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    const std::string port = std::to_string(port_);
    if (::getaddrinfo(host_.c_str(), port.c_str(), &hints, &list) != 0) return kLinkNotOpen;
    for (const addrinfo* ai = list; ai != nullptr && fd_ < 0; ai = ai->ai_next) fd_ = connectOne(ai, timeout_);
    ::freeaddrinfo(list);
    return fd_ >= 0 ? 0 : kLinkNotOpen;
}

void TcpTransport::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    lost_ = false;
}

int32_t TcpTransport::lLost() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    lost_ = true;
    return kLinkLost;
}

int32_t TcpTransport::send(const char* data, size_t len) {
    if (fd_ < 0) return lost_ ? kLinkLost : kLinkNotOpen;
    size_t off = 0;
    while (off < len) {
        const ssize_t n = ::send(fd_, data + off, len - off, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            off += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!booWaitFd(fd_, POLLOUT, timeout_)) return lLost();
        } else {
            return lLost();
        }
    }
    return 0;
}

int32_t TcpTransport::recv(char* buf, size_t cap) {
    if (fd_ < 0) return lost_ ? kLinkLost : kLinkNotOpen;
    for (;;) {
        const ssize_t n = ::recv(fd_, buf, cap, MSG_DONTWAIT);
        if (n > 0) return static_cast<int32_t>(n);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
        return lLost();  // 0: the bridge closed the connection
    }
}

}  // namespace sim
