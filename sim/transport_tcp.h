// The unit behind an Ethernet-to-serial bridge (Link=tcp:HOST:PORT): the
// framed bytes go over one TCP connection, made when the console opens the
// link. A refused or lost connection makes the receive call negative, which
// the console answers by reconnecting.
#pragma once
#include <string>

#include "sim/transport.h"

namespace sim {

class TcpTransport : public Transport {
public:
    TcpTransport(std::string host, uint16_t port, uint32_t connectTimeoutMs)
        : host_(std::move(host)), port_(port), timeout_(connectTimeoutMs) {}
    ~TcpTransport() override { close(); }

    int32_t open() override;
    void close() override;
    int32_t send(const char* data, size_t len) override;
    int32_t recv(char* buf, size_t cap) override;

private:
    int32_t lLost();

    std::string host_;
    uint16_t port_;
    uint32_t timeout_;
    int fd_ = -1;
    bool lost_ = false;
};

}  // namespace sim
