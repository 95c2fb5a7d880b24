#include "platform/link_spec.h"

#include <strings.h>

#include <algorithm>
#include <cctype>

#include "platform/profile_string.h"

namespace platform {
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

UnitChoice readUnitChoice(const std::string& sIniPath) {
    UnitChoice choice;
    choice.link = parseLinkSpec(sZyrPan2Text(sIniPath, "Link"));
    choice.booSimulatedSensor = choice.link.kind == LinkSpec::Kind::Sim ||
                                ::strcasecmp(sZyrPan2Text(sIniPath, "Sensor").c_str(), "sim") == 0;
    return choice;
}

std::string sZyrPan2Text(const std::string& sIniPath, const char* key) {
    char buf[1024] = {};
    GetPrivateProfileStringA("ZyrPan2", key, "", buf, sizeof buf, sIniPath.c_str());
    std::string value(buf);
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = value.find_last_not_of(" \t\r");
    return value.substr(first, last - first + 1);
}

}  // namespace platform
