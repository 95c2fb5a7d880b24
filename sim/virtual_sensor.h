// The library's sensor side: module, exposure parameters, the X-ray the
// sensor sees, image data, processing and the bitmap. The exported ZyrWeq_*
// functions hand the sensor calls to this class; the link side tells it
// every frame text that passes, so that the unit's "X1" starts its X-ray
// whichever transport carried it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace sim {

class VirtualSensor {
public:
    VirtualSensor();
    ~VirtualSensor();

    // Reads the sensor's keys of section [ZyrPan2] from the settings file.
    void configure(const std::string& sIniPath);
    // Back to the state at power-on: keys at their defaults, nothing exposed.
    void reset();

    int32_t initModule(const char* sIniPath, int32_t lLoadFpga);
    int32_t resetAll();
    int32_t setParam(const char* sFilmPath, int32_t lPictCount, int32_t lTimeStep, int32_t lTimeLag);
    int32_t waitXExpose();
    int32_t checkPictStatus(uint8_t* pbytStat);
    int32_t getImageData(int32_t lPictCount);
    int32_t deviceFree();
    int32_t imageProcessing(const char* sDatPath, int32_t* plValue1, int32_t* plValue2);
    int32_t saveBitmap(const char* sDatPath, int32_t lValue1, int32_t lValue2, int32_t lZero1,
                       int32_t lZero2, const char* sBmpName);

    // Frame texts seen on the link: the console's commands ("NP_P1_C 70 4")
    // and the unit's reports ("X1", "d0", ...).
    void onConsoleCommand(const std::string& sText);
    void onUnitReport(const std::string& sText);

private:
    struct Impl;
    std::unique_ptr<Impl> p_;
};

// The one sensor of this library instance.
VirtualSensor& theSensor();

}  // namespace sim
