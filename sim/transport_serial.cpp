#include "sim/transport_serial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "sim/fd_wait.h"

namespace sim {
namespace {

constexpr uint32_t kWriteWait = 1000;  // ms a full output queue may hold a frame up

speed_t speedOf(uint32_t baud) {
    switch (baud) {
        case 1200: return B1200;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 115200: return B115200;
        case 230400: return B230400;
        default: return B0;
    }
}

}  // namespace

bool SerialTransport::booBaudSupported(uint32_t baud) { return speedOf(baud) != B0; }

int32_t SerialTransport::open() {
    close();
    const speed_t speed = speedOf(baud_);
    if (speed == B0) return kLinkBadSetting;
    fd_ = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // A device the user may not open (not in the device's group), or one
    // another program holds, is told apart from one that is not there: the
    // remedy differs.
    if (fd_ < 0) {
        if (errno == EBUSY) return kLinkInUse;
        return errno == EACCES || errno == EPERM ? kLinkNoPermission : kLinkNotOpen;
    }
    // One program on the line at a time: two consoles on one unit would
    // interleave their frames. The lock is the one both sides honour, root
    // too, and the kernel drops it however this process ends; TIOCEXCL then
    // also turns away programs that do not lock (a terminal program, another
    // user's console), which the kernel refuses with EBUSY.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        close();
        return err == EWOULDBLOCK ? kLinkInUse : kLinkNotOpen;
    }
    exclusive_ = ::ioctl(fd_, TIOCEXCL) == 0;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) {
        close();
        return kLinkNotOpen;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
        close();
        return kLinkNotOpen;
    }
    ::tcflush(fd_, TCIOFLUSH);  // nothing left over from an earlier console
    return 0;
}

void SerialTransport::vRelease() {
    if (fd_ < 0) return;
    // The exclusive mode belongs to the line, not to this descriptor: a
    // pseudo-terminal's line outlives it. Only the holder gives it up.
    if (exclusive_) ::ioctl(fd_, TIOCNXCL);
    exclusive_ = false;
    ::close(fd_);
}

void SerialTransport::close() {
    vRelease();
    fd_ = -1;
    lost_ = false;
}

int32_t SerialTransport::lLost() {
    vRelease();
    fd_ = -1;
    lost_ = true;
    return kLinkLost;
}

int32_t SerialTransport::send(const char* data, size_t len) {
    if (fd_ < 0) return lost_ ? kLinkLost : kLinkNotOpen;
    size_t off = 0;
    while (off < len) {
        const ssize_t n = ::write(fd_, data + off, len - off);
        if (n > 0) {
            off += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!booWaitFd(fd_, POLLOUT, kWriteWait)) return lLost();
        } else {
            return lLost();
        }
    }
    return 0;
}

int32_t SerialTransport::recv(char* buf, size_t cap) {
    if (fd_ < 0) return lost_ ? kLinkLost : kLinkNotOpen;
    for (;;) {
        const ssize_t n = ::read(fd_, buf, cap);
        if (n > 0) return static_cast<int32_t>(n);
        if (n == 0) {
            // Nothing came, or the line hung up (a pseudo-terminal whose
            // other side closed reads as empty and shows POLLHUP).
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR)) != 0) return lLost();
            return 0;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return lLost();  // EIO: the line hung up (an unplugged adapter)
    }
}

}  // namespace sim
