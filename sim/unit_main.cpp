// zyrpan-unit: the virtual unit as a TCP server on the loopback address, for
// a console whose [ZyrPan2] says Link=tcp:127.0.0.1:PORT.
//   zyrpan-unit --port PORT [--config FILE]
// The first line is "listening on 127.0.0.1:PORT"; then every byte both ways.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/unit_config.h"
#include "sim/unit_server.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: zyrpan-unit --port PORT [--config FILE]\n"
                         "  PORT 0 picks a free port; FILE is a settings file whose [ZyrPan2]\n"
                         "  section gives the unit's timings and faults.\n");
    return 2;
}

void vPrint(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    long port = -1;
    std::string config;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--port" || arg == "--config") && i + 1 < argc) {
            const char* value = argv[++i];
            if (arg == "--config") {
                config = value;
                continue;
            }
            char* end = nullptr;
            port = std::strtol(value, &end, 10);
            if (*value == '\0' || *end != '\0' || port < 0 || port > 65535) return usage();
        } else {
            return usage();
        }
    }
    if (port < 0) return usage();

    sim::UnitServer server(sim::readUnitConfig(config), vPrint);
    std::string error;
    if (!server.booListen(static_cast<uint16_t>(port), error)) {
        std::fprintf(stderr, "zyrpan-unit: cannot listen on 127.0.0.1:%ld: %s\n", port, error.c_str());
        return 1;
    }
    vPrint("listening on 127.0.0.1:" + std::to_string(server.port()));
    for (;;) server.vStep(200);
}
