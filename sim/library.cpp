#include "sim/library.h"

#include <strings.h>

#include "platform/file_group.h"
#include "platform/tick_clock.h"
#include "sim/ini_keys.h"
#include "sim/transport_embedded.h"
#include "sim/transport_serial.h"
#include "sim/transport_tcp.h"
#include "sim/virtual_sensor.h"

namespace sim {
namespace {

// The console reads the same rule to show the operator a simulated sensor.
bool booVirtualSensorChosen(const std::string& sIniPath) { return platform::readUnitChoice(sIniPath).booSimulatedSensor; }

}  // namespace

Library::Library() {
    vSetTextSinks([](const std::string& text) { theSensor().onConsoleCommand(text); },
                  [](const std::string& text) { theSensor().onUnitReport(text); });
}

Library::~Library() { transport_.reset(); }

void Library::vSetTextSinks(TextSink onCommand, TextSink onReport) {
    onCommand_ = std::move(onCommand);
    onReport_ = std::move(onReport);
}

void Library::vInit(const char* sIniPath) {
    const std::string path = sIniPath != nullptr ? sIniPath : "";
    if (initialised_ && path != iniPath_) {
        // Another settings file is another installation: its unit and its
        // call counts start afresh (the console always passes the same one).
        vDeviceFree();
        unit_.reset();
        faults_.reset();
    }
    iniPath_ = path;
    initialised_ = true;
    linkText_ = sIniText(iniPath_, "Link");
    link_ = parseLinkSpec(linkText_);
    virtualSensor_ = booVirtualSensorChosen(iniPath_);
    trace_.vConfigure(sIniText(iniPath_, "Trace"));
    connectTimeout_ = static_cast<uint32_t>(lIniNumber(iniPath_, "ConnectTimeout", 3000, 1, 60000));
    faults_.configure(readCallFaults(iniPath_));
}

int32_t Library::lCommInit() {
    if (!initialised_) return kNotInitialised;
    vDeviceFree();
    switch (link_.kind) {
        case LinkSpec::Kind::Sim:
            if (!unit_) unit_ = std::make_unique<VirtualUnit>(readUnitConfig(iniPath_), platform::GetTickCount());
            transport_ = std::make_unique<EmbeddedTransport>(*unit_);
            break;
        case LinkSpec::Kind::Tcp:
            transport_ = std::make_unique<TcpTransport>(link_.host, link_.port, connectTimeout_);
            break;
        case LinkSpec::Kind::Serial:
            transport_ = std::make_unique<SerialTransport>(link_.device, link_.baud);
            break;
        case LinkSpec::Kind::Missing:
            trace_.vEvent("no Link in [ZyrPan2]: the library does not know where the unit is");
            return kLinkNoSetting;
        case LinkSpec::Kind::Invalid:
            trace_.vEvent("Link=" + linkText_ + " names no usable link");
            return kLinkBadSetting;
    }
    const int32_t status = transport_->open();
    if (status == 0) {
        trace_.vEvent("link open: " + linkText_);
    } else if (status == kLinkNoPermission) {
        const std::string group = platform::sFileGroup(link_.device);
        trace_.vEvent("no permission to open " + link_.device + ": add the user to the group " +
                      (group.empty() ? "that owns the device" : group));
    } else if (status == kLinkInUse) {
        trace_.vEvent(link_.device + " is in use by another program (another console?)");
    } else {
        trace_.vEvent("link " + linkText_ + " not opened: status " + std::to_string(status));
    }
    if (status != 0) transport_.reset();
    return status;
}

void Library::vPrepareSensor(const char* sIniPath) {
    if (sIniPath != nullptr) virtualSensor_ = booVirtualSensorChosen(sIniPath);
    sensorAsked_ = true;
}

void Library::vTraceStatus(const char* sWhat, int32_t status) {
    trace_.vEvent(std::string(sWhat) + " failed: status " + std::to_string(status));
}

void Library::vDeviceFree() {
    if (transport_) trace_.vEvent("link released");
    transport_.reset();
    toUnit_.reset();
    fromUnit_.reset();
}

int32_t Library::lSend(const char* sText, int16_t iLen) {
    if (sText == nullptr || iLen < 0) return kBadArgument;
    if (!transport_) return kLinkNotOpen;
    const auto len = static_cast<size_t>(iLen);
    const int32_t status = transport_->send(sText, len);
    if (status != 0) {
        vTraceStatus("send", status);
        return status;
    }
    if (len > 0) trace_.vToUnit(std::string_view(sText, len));
    vWatch(toUnit_, sText, len, onCommand_);
    return status;
}

int32_t Library::lRecv(char* sBuf) {
    if (sBuf == nullptr) return kBadArgument;
    if (!transport_) return kLinkNotOpen;
    const int32_t n = transport_->recv(sBuf, kRecvBuf);
    if (n < 0) vTraceStatus("receive", n);
    if (n <= 0) return n;
    trace_.vFromUnit(std::string_view(sBuf, static_cast<size_t>(n)));
    vWatch(fromUnit_, sBuf, static_cast<size_t>(n), onReport_);
    return n;
}

void Library::vWatch(FrameScanner& scanner, const char* data, size_t len, const TextSink& sink) {
    scanner.feed(std::string_view(data, len));
    for (;;) {
        const FrameScanner::Event ev = scanner.next();
        if (ev.kind == FrameScanner::Kind::None) break;
        if (ev.kind == FrameScanner::Kind::Frame && ev.valid && sink) sink(sFrameText(ev.frame));
    }
}

namespace {
std::unique_ptr<Library>& slot() {
    static std::unique_ptr<Library> library = std::make_unique<Library>();
    return library;
}
}  // namespace

Library& theLibrary() { return *slot(); }

void vResetLibrary() {
    slot() = std::make_unique<Library>();
    theSensor().reset();  // a fresh library starts with a fresh sensor too
}

}  // namespace sim
