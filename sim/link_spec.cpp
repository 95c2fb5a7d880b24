#include "sim/link_spec.h"

#include <algorithm>
#include <cctype>

namespace sim {
namespace {

bool booDigits(const std::string& s) {
    return !s.empty() && s.size() <= 9 &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string sLower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

}  // namespace

LinkSpec parseLinkSpec(const std::string& text) {
    LinkSpec spec;
    const auto colon = text.find(':');
    const std::string kind = sLower(text.substr(0, colon));
    const std::string rest = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    if (text.empty()) return spec;
    if (kind == "sim" && colon == std::string::npos) {
        spec.kind = LinkSpec::Kind::Sim;
        return spec;
    }

    spec.kind = LinkSpec::Kind::Invalid;
    if (kind == "tcp") {
        const auto last = rest.rfind(':');
        if (last == std::string::npos) return spec;
        std::string host = rest.substr(0, last);
        const std::string port = rest.substr(last + 1);
        if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
        if (host.empty() || !booDigits(port)) return spec;
        const unsigned long n = std::stoul(port);
        if (n == 0 || n > 65535) return spec;
        spec.kind = LinkSpec::Kind::Tcp;
        spec.host = host;
        spec.port = static_cast<uint16_t>(n);
    } else if (kind == "serial") {
        const auto last = rest.rfind(':');
        std::string device = rest;
        if (last != std::string::npos && booDigits(rest.substr(last + 1))) {
            device = rest.substr(0, last);
            spec.baud = static_cast<uint32_t>(std::stoul(rest.substr(last + 1)));
        }
        if (device.empty()) return spec;
        spec.kind = LinkSpec::Kind::Serial;
        spec.device = device;
    }
    return spec;
}

}  // namespace sim
