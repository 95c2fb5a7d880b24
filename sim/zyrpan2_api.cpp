// The thirteen exported functions of libZyrPan2.so. Each first counts the
// call against the chosen faults of [ZyrPan2] (Fail_<Call>=status), then
// hands the sensor calls to the virtual sensor (only where [ZyrPan2] chose
// it) and the link calls to the library's link.
#include <optional>

#include "sensor/zyrpan2.h"
#include "sim/library.h"
#include "sim/transport.h"
#include "sim/virtual_sensor.h"

using sim::Call;
using sim::theLibrary;
using sim::theSensor;

namespace {
// Counts the call; the status chosen for it in [ZyrPan2], if any.
std::optional<int32_t> fault(Call call) { return theLibrary().callFault(call); }

// A sensor call without the virtual sensor: this library drives no real
// sensor, so it refuses rather than answer a real exposure with a synthetic image.
std::optional<int32_t> noSensor() {
    if (theLibrary().booVirtualSensor()) return std::nullopt;
    return sim::kNoSensorDriver;
}
}  // namespace

extern "C" {

int32_t ZyrWeq_Init(const char* sIniPath, int32_t lFlag) {
    (void)lFlag;  // the console always passes 1
    // The faults are among the settings read here, so this call is counted
    // after reading them.
    theLibrary().vInit(sIniPath);
    theSensor().configure(sIniPath != nullptr ? sIniPath : "");
    if (const auto f = fault(Call::Init)) return *f;
    return 0;
}

int32_t ZyrWeq_SetCommInit(void) {
    if (const auto f = fault(Call::SetCommInit)) return *f;
    return theLibrary().lCommInit();
}

int32_t ZyrWeq_SetSensMduInit(const char* sIniPath, int32_t lLoadFpga) {
    if (const auto f = fault(Call::SetSensMduInit)) return *f;
    theLibrary().vPrepareSensor(sIniPath);
    if (sIniPath == nullptr) return sim::kBadArgument;
    if (const auto s = noSensor()) return *s;
    return theSensor().initModule(sIniPath, lLoadFpga);
}

int32_t ZyrWeq_ResetAll(void) {
    if (const auto f = fault(Call::ResetAll)) return *f;
    // The console resets the sensor while it connects, before it prepares
    // it: only a refused preparation makes the reset fail too.
    if (const auto s = noSensor(); s && theLibrary().booSensorAsked()) return *s;
    return theSensor().resetAll();
}

int32_t ZyrWeq_SetParamforPictEx(const char* sFilmPath, int32_t lPictCount, int32_t lTimeStep,
                                 int32_t lTimeLag) {
    if (const auto f = fault(Call::SetParamforPictEx)) return *f;
    if (sFilmPath == nullptr) return sim::kBadArgument;
    if (const auto s = noSensor()) return *s;
    return theSensor().setParam(sFilmPath, lPictCount, lTimeStep, lTimeLag);
}

int32_t ZyrWeq_SetWaitXExpose(void) {
    if (const auto f = fault(Call::SetWaitXExpose)) return *f;
    if (const auto s = noSensor()) return *s;
    return theSensor().waitXExpose();
}

int32_t ZyrWeq_CheckPictStatus(uint8_t* pbytStat) {
    if (const auto f = fault(Call::CheckPictStatus)) return *f;
    if (pbytStat == nullptr) return sim::kBadArgument;
    if (const auto s = noSensor()) return *s;
    return theSensor().checkPictStatus(pbytStat);
}

int32_t ZyrWeq_GetImageDataEx(int32_t lPictCount) {
    if (const auto f = fault(Call::GetImageDataEx)) return *f;
    if (const auto s = noSensor()) return *s;
    return theSensor().getImageData(lPictCount);
}

int32_t ZyrWeq_SetDeviceFree(void) {
    if (const auto f = fault(Call::SetDeviceFree)) return *f;
    theLibrary().vDeviceFree();
    return theSensor().deviceFree();
}

int32_t ZyrWeq_ImageProcessingEx(const char* sDatPath, int32_t* plValue1, int32_t* plValue2) {
    if (const auto f = fault(Call::ImageProcessingEx)) return *f;
    if (sDatPath == nullptr || plValue1 == nullptr || plValue2 == nullptr) return sim::kBadArgument;
    if (const auto s = noSensor()) return *s;
    return theSensor().imageProcessing(sDatPath, plValue1, plValue2);
}

int32_t ZyrWeq_SaveBitmap(const char* sDatPath, int32_t lValue1, int32_t lValue2, int32_t lZero1,
                          int32_t lZero2, const char* sBmpName) {
    if (const auto f = fault(Call::SaveBitmap)) return *f;
    if (sDatPath == nullptr || sBmpName == nullptr) return sim::kBadArgument;
    if (const auto s = noSensor()) return *s;
    return theSensor().saveBitmap(sDatPath, lValue1, lValue2, lZero1, lZero2, sBmpName);
}

int32_t ZyrWeq_Ether232Send(const char* sText, int16_t iLen) {
    if (const auto f = fault(Call::Ether232Send)) return *f;
    return theLibrary().lSend(sText, iLen);
}

int32_t ZyrWeq_Ether232Recv(char* sBuf) {
    if (const auto f = fault(Call::Ether232Recv)) return *f;
    return theLibrary().lRecv(sBuf);
}

}  // extern "C"
