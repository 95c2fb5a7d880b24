// The state of our ZyrPan2 library behind its C functions: its settings
// from [ZyrPan2], the link to the unit, the embedded virtual unit, whether
// the virtual sensor may stand in for the sensor, the chosen call faults,
// the service trace, and the watch on the line that tells the virtual
// sensor what the console commands and the unit reports.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "sim/call_faults.h"
#include "sim/frame_codec.h"
#include "sim/link_spec.h"
#include "sim/link_trace.h"
#include "sim/transport.h"
#include "sim/unit_config.h"
#include "sim/virtual_unit.h"

namespace sim {

// Status of every sensor call when [ZyrPan2] did not choose the virtual
// sensor: this library has no driver for a real sensor, and a synthetic
// image must never be taken for a patient's.
constexpr int32_t kNoSensorDriver = 26;

class Library {
public:
    static constexpr size_t kRecvBuf = 1024;  // the console's receive buffer

    // Frame texts seen on the line; by default they go to the virtual sensor.
    using TextSink = std::function<void(const std::string&)>;

    Library();
    ~Library();

    // Reads [ZyrPan2] again; the call counts and the embedded unit stay
    // unless the settings file is another one than last time.
    void vInit(const char* sIniPath);
    int32_t lCommInit();
    // Releases the link (the console opens it again to reconnect).
    void vDeviceFree();
    int32_t lSend(const char* sText, int16_t iLen);
    int32_t lRecv(char* sBuf);

    // The chosen status for this call, counting it.
    std::optional<int32_t> callFault(Call call) { return faults_.check(call); }
    uint32_t lCalls(Call call) const { return faults_.calls(call); }

    // The virtual sensor runs only where the settings say so: Link=sim (the
    // embedded unit and sensor), or Sensor=sim beside a tcp: or serial: link.
    bool booVirtualSensor() const { return virtualSensor_; }
    // The sensor's preparation, with the settings file it was given: whether
    // the virtual sensor may run is read again from that file.
    void vPrepareSensor(const char* sIniPath);
    // A preparation was asked for (the sensor calls before it, such as the
    // console's ResetAll while it connects, have nothing to refuse).
    bool booSensorAsked() const { return sensorAsked_; }

    bool booInitialised() const { return initialised_; }
    const LinkSpec& link() const { return link_; }
    // The embedded unit once a Link=sim link was opened, else null.
    VirtualUnit* embeddedUnit() { return unit_.get(); }
    void vSetTextSinks(TextSink onCommand, TextSink onReport);

private:
    void vWatch(FrameScanner& scanner, const char* data, size_t len, const TextSink& sink);
    void vTraceStatus(const char* sWhat, int32_t status);

    bool initialised_ = false;
    bool virtualSensor_ = false;
    bool sensorAsked_ = false;
    std::string iniPath_;
    std::string linkText_;
    LinkSpec link_;
    uint32_t connectTimeout_ = 3000;
    CallFaults faults_;
    std::unique_ptr<VirtualUnit> unit_;
    std::unique_ptr<Transport> transport_;
    LinkTrace trace_;
    FrameScanner toUnit_, fromUnit_;
    TextSink onCommand_, onReport_;
};

// The library of this process.
Library& theLibrary();
// Starts the library afresh, as a new process would find it (for tests).
void vResetLibrary();

}  // namespace sim
