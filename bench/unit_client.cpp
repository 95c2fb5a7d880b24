#include "bench/unit_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "sim/frame_codec.h"

namespace soak {
namespace {

using Clock = std::chrono::steady_clock;

int iMsLeft(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

std::string sFrameOf(std::string_view text) { return sim::sBuildFrame(text); }

UnitClient::~UnitClient() { vClose(); }

void UnitClient::vClose() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool UnitClient::booConnect(uint16_t port, int iTimeoutMs) {
    vClose();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return true;
    if (errno != EINPROGRESS) {
        why_ = std::string("connect: ") + std::strerror(errno);
        return false;
    }
    pollfd p{fd_, POLLOUT, 0};
    int err = 0;
    socklen_t len = sizeof err;
    if (::poll(&p, 1, iTimeoutMs) != 1 || ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) {
        why_ = std::string("connect: ") + (err != 0 ? std::strerror(err) : "timed out");
        return false;
    }
    return true;
}

bool UnitClient::booReadSome(int iWaitMs) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, iWaitMs) <= 0) return true;
    char buf[65536];
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n > 0) in_.append(buf, static_cast<size_t>(n));
    if (n == 0) why_ = "the unit closed the line";
    if (n < 0 && errno != EAGAIN && errno != EINTR) why_ = std::string("recv: ") + std::strerror(errno);
    return n > 0 || (n < 0 && (errno == EAGAIN || errno == EINTR));
}

bool UnitClient::booSend(std::string_view bytes, int iTimeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(iTimeoutMs);
    while (!bytes.empty()) {
        pollfd p{fd_, POLLOUT | POLLIN, 0};
        if (::poll(&p, 1, iMsLeft(end)) <= 0) {
            why_ = "send timed out";
            return false;
        }
        if ((p.revents & POLLIN) != 0 && !booReadSome(0)) return false;
        if ((p.revents & POLLOUT) == 0) continue;
        const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) {
            why_ = std::string("send: ") + std::strerror(errno);
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string UnitClient::sTakeUntilQuiet(int iQuietMs, int iTimeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(iTimeoutMs);
    for (size_t before = in_.size(); iMsLeft(end) > 0; before = in_.size()) {
        if (!booReadSome(iQuietMs) || in_.size() == before) break;
    }
    return std::exchange(in_, {});
}

bool UnitClient::booAck(int iTimeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(iTimeoutMs);
    for (;;) {
        const size_t at = in_.find_first_of(std::string{sim::kAck, sim::kNak, sim::kStx});
        if (at != std::string::npos) {
            const bool booAck = in_[at] == sim::kAck;
            why_ = booAck ? "" : "no ACK first";
            in_.erase(0, at + 1);
            return booAck;
        }
        in_.clear();
        if (iMsLeft(end) == 0) {
            why_ = "no ACK";
            return false;
        }
        if (!booReadSome(iMsLeft(end))) return false;
    }
}

std::string UnitClient::sAckThenReport(int iTimeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(iTimeoutMs);
    sim::FrameScanner scan;
    bool booAcked = false;
    for (;;) {
        scan.feed(in_);
        in_.clear();
        for (auto ev = scan.next(); ev.kind != sim::FrameScanner::Kind::None; ev = scan.next()) {
            if (ev.kind == sim::FrameScanner::Kind::Nak && !booAcked) {
                why_ = "the unit answered NAK";
                return {};
            }
            if (ev.kind == sim::FrameScanner::Kind::Ack) booAcked = true;
            if (ev.kind == sim::FrameScanner::Kind::Frame && ev.valid && booAcked) {
                const std::string ack(1, sim::kAck);
                return booSend(ack, iMsLeft(end)) ? sim::sFrameText(ev.frame) : std::string();
            }
        }
        if (iMsLeft(end) == 0) {
            why_ = booAcked ? "no report after the ACK" : "no ACK";
            return {};
        }
        if (!booReadSome(iMsLeft(end))) return {};
    }
}

}  // namespace soak
