// The virtual sensor of our ZyrPan2 library.
#include "sim/virtual_sensor.h"

namespace sim {

struct VirtualSensor::Impl {};

VirtualSensor::VirtualSensor() : p_(std::make_unique<Impl>()) {}
VirtualSensor::~VirtualSensor() = default;

void VirtualSensor::configure(const std::string&) {}
int32_t VirtualSensor::initModule(const char*, int32_t) { return 0; }
int32_t VirtualSensor::resetAll() { return 0; }
int32_t VirtualSensor::setParam(const char*, int32_t, int32_t, int32_t) { return 0; }
int32_t VirtualSensor::waitXExpose() { return 0; }
int32_t VirtualSensor::checkPictStatus(uint8_t* pbytStat)
{
    if (pbytStat) *pbytStat = 0;
    return 0;
}
int32_t VirtualSensor::getImageData(int32_t) { return 0; }
int32_t VirtualSensor::deviceFree() { return 0; }
int32_t VirtualSensor::imageProcessing(const char*, int32_t* plValue1, int32_t* plValue2)
{
    if (plValue1) *plValue1 = 0;
    if (plValue2) *plValue2 = 0;
    return 0;
}
int32_t VirtualSensor::saveBitmap(const char*, int32_t, int32_t, int32_t, int32_t, const char*) { return 0; }
void VirtualSensor::onConsoleCommand(const std::string&) {}
void VirtualSensor::onUnitReport(const std::string&) {}

VirtualSensor& theSensor()
{
    static VirtualSensor s;
    return s;
}

}  // namespace sim
