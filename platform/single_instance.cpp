#include "platform/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>

namespace platform {
namespace {

// The copy that runs holds a socket bound to an abstract address made of the
// user and the name. The kernel frees the address the moment the process
// ends, however it ends, so a crashed copy never blocks the next start, and
// no file is left behind in the temporary folder.
struct Held {
    std::mutex lock;
    std::map<std::string, int> sockets;  // name -> bound socket of this copy
};

Held& held() {
    static Held h;
    return h;
}

sockaddr_un addressOf(const std::string& name, socklen_t& length) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string id = "zyrpan-instance/" + std::to_string(getuid()) + "/" + name;
    const size_t room = sizeof addr.sun_path - 1;  // the first byte stays NUL: abstract
    if (id.size() > room) {
        // Long names keep their start and gain a hash of the whole, so that
        // different names still get different addresses.
        const std::string hash = "#" + std::to_string(std::hash<std::string>{}(id));
        id = id.substr(0, room - hash.size()) + hash;
    }
    std::memcpy(addr.sun_path + 1, id.data(), id.size());
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + id.size());
    return addr;
}

}  // namespace

bool booPrevInstance(const std::string& name) {
    Held& h = held();
    const std::lock_guard<std::mutex> guard(h.lock);
    if (h.sockets.count(name) != 0) return false;  // this copy already holds it
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;  // cannot tell: let this copy run
    socklen_t length = 0;
    const sockaddr_un addr = addressOf(name, length);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&addr), length) != 0) {
        const bool taken = errno == EADDRINUSE;
        close(fd);
        return taken;
    }
    h.sockets[name] = fd;
    return false;
}

void vReleaseInstance() {
    Held& h = held();
    const std::lock_guard<std::mutex> guard(h.lock);
    for (const auto& entry : h.sockets) close(entry.second);
    h.sockets.clear();
}

}  // namespace platform
