// The virtual unit as zyrpan-unit runs it for a client: its settings file,
// then the client's bytes in any chunks at any pace, the client leaving and
// coming back, and every byte both ways written to the trace.
#include <fuzzer/FuzzedDataProvider.h>

#include "sim/byte_trace.h"
#include "sim/unit_config.h"
#include "sim/virtual_unit.h"
#include "tests/support/temp_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const zyrtest::TempDir dir;
    FuzzedDataProvider in(data, size);
    const std::string sConfig = dir.file("unit.ini");
    zyrtest::writeBytes(sConfig, in.ConsumeRandomLengthString(512));
    uint32_t now = in.ConsumeIntegral<uint32_t>();
    sim::VirtualUnit unit(sim::readUnitConfig(sConfig), now);
    unit.vConnect(now);
    while (in.remaining_bytes() > 0) {
        now += in.ConsumeIntegralInRange<uint32_t>(0, 70000);
        unit.vAdvance(now);
        if (unit.booLinkLost() || in.ConsumeProbability<float>() < 0.02f) {
            if (!unit.booLinkLost()) unit.vDisconnect(now);
            unit.vConnect(now);  // the next client
        }
        const std::string bytes = in.ConsumeRandomLengthString(1024);
        (void)sim::sTraceLine("<-", bytes);
        unit.vReceive(bytes, now);
        (void)sim::sTraceLine("->", unit.sTakeOutput());
    }
    return 0;
}
