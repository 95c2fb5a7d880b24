// The virtual sensor of our ZyrPan2 library. It follows the unit through the
// frame texts the library carries: the console's exposure command gives kV
// and mA, the unit's "X1" starts the X-ray a moment later, "d0" (or the
// console's "x0") stops it. Time comes from the tick count only.
#include "sim/virtual_sensor.h"

#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <sstream>
#include <vector>

#include "platform/profile_string.h"
#include "platform/tick_clock.h"
#include "sim/bmp_writer.h"
#include "sim/film_data.h"
#include "sim/image_dat.h"
#include "sim/image_processing.h"
#include "sim/image_timeline.h"
#include "sim/radiograph.h"
#include "sim/simulation_mark.h"

namespace sim {
namespace {

// Statuses of the sensor calls (the console explains them by range).
constexpr int32_t kStatUnsuitableParam = 3;
constexpr int32_t kStatNotInitialised = 9;
constexpr int32_t kStatNoSensorData = 18;
constexpr int32_t kStatBmpWrite = -93;
constexpr int32_t kStatDatRead = -94;
constexpr int32_t kStatDatWrite = -96;
constexpr int32_t kStatParameter = -97;

// The sensor's keys in [ZyrPan2]. The three X-ray times are the virtual
// unit's too, so that the unit ends its X-ray when the sensor's last image does.
struct Keys {
    int32_t lXrayDelayMs = 500;   // "X1" to X-ray on
    int32_t lXrayOnMs = 3000;     // X-ray per image
    int32_t lXrayGapMs = 1000;    // between the images of one "X1"
    uint32_t lSeed = 1;           // the patient drawn
    int32_t lBinning = 1;
    bool booNoXray = false;       // the sensor never sees the X-ray
    int32_t lPollFail = 0;        // status of every poll once the X-ray has begun
};

int32_t lKey(const std::string& sIni, const char* key, int32_t lDefault)
{
    char buf[64];
    platform::GetPrivateProfileStringA("ZyrPan2", key, "", buf, sizeof buf, sIni.c_str());
    char* end = nullptr;
    const long v = std::strtol(buf, &end, 10);
    if (end == buf || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return lDefault;
    return static_cast<int32_t>(v);
}

Keys readKeys(const std::string& sIni)
{
    Keys k;
    k.lXrayDelayMs = std::max(0, lKey(sIni, "XrayDelay", k.lXrayDelayMs));
    k.lXrayOnMs = std::max(1, lKey(sIni, "XrayOn", k.lXrayOnMs));
    k.lXrayGapMs = std::max(0, lKey(sIni, "XrayGap", k.lXrayGapMs));
    k.lSeed = static_cast<uint32_t>(lKey(sIni, "ImageSeed", static_cast<int32_t>(k.lSeed)));
    const int32_t b = lKey(sIni, "ImageBinning", 1);
    k.lBinning = b >= 4 ? 4 : b >= 2 ? 2 : 1;
    k.booNoXray = lKey(sIni, "SensorNoXray", 0) != 0;
    k.lPollFail = lKey(sIni, "SensorPollFail", 0);
    return k;
}

}  // namespace

struct VirtualSensor::Impl {
    std::mutex mu;
    Keys keys;
    bool booModule = false;  // module initialised
    bool booParams = false;  // exposure parameters accepted
    FilmData film;
    int32_t lTimeStep = 10;
    int32_t lPictCount = 0;
    XrayTimeline timeline;
    int32_t lKv = 70, lMa = 4;         // of the last exposure command
    bool booCommandSeen = false;       // an exposure command since the last burst
    std::vector<ViewExposure> tech;    // kV and mA of each image scheduled
    RawImage raw;
    bool booRaw = false;

    RadiographSetup setupFor(const std::vector<XrayTimeline::Shot>& shots, int32_t n) const
    {
        RadiographSetup setup;
        setup.eProjection = film.eProjection;
        setup.booChild = film.booChild;
        setup.lViews = lPictCount;
        setup.lBinning = keys.lBinning;
        setup.lSeed = keys.lSeed;
        for (int32_t i = 0; i < n; ++i) {
            const XrayTimeline::Shot& s = shots[static_cast<size_t>(i)];
            ViewExposure v = tech[static_cast<size_t>(i)];
            v.dFraction = static_cast<double>(s.lOff - s.lOn) / std::max<uint32_t>(1, s.lPlanned);
            setup.taken.push_back(v);
        }
        // The film's profile, spread over the sweep whatever the X-ray time.
        const size_t lSteps = static_cast<size_t>((film.lExposureMs + lTimeStep - 1) / lTimeStep);
        setup.lSpeeds.assign(film.lSpeeds.begin(), film.lSpeeds.begin() + std::min(lSteps, film.lSpeeds.size()));
        return setup;
    }
};

VirtualSensor::VirtualSensor() : p_(std::make_unique<Impl>()) {}
VirtualSensor::~VirtualSensor() = default;

void VirtualSensor::configure(const std::string& sIniPath)
{
    std::lock_guard<std::mutex> lock(p_->mu);
    p_->keys = readKeys(sIniPath);
}

void VirtualSensor::reset()
{
    std::lock_guard<std::mutex> lock(p_->mu);
    Impl& s = *p_;
    s.keys = Keys();
    s.booModule = s.booParams = s.booCommandSeen = s.booRaw = false;
    s.film = FilmData();
    s.lTimeStep = 10, s.lPictCount = 0, s.lKv = 70, s.lMa = 4;
    s.timeline.clear();
    s.tech.clear();
    s.raw = RawImage();
}

int32_t VirtualSensor::initModule(const char* sIniPath, int32_t /*lLoadFpga*/)
{
    std::lock_guard<std::mutex> lock(p_->mu);
    if (sIniPath != nullptr && *sIniPath != '\0') p_->keys = readKeys(sIniPath);
    p_->booModule = true;
    p_->booParams = false;
    p_->timeline.clear();
    return 0;
}

int32_t VirtualSensor::resetAll()
{
    std::lock_guard<std::mutex> lock(p_->mu);
    // Stops waiting for the X-ray; the images already taken stay readable.
    p_->timeline.stop(platform::GetTickCount());
    return 0;
}

int32_t VirtualSensor::setParam(const char* sFilmPath, int32_t lPictCount, int32_t lTimeStep, int32_t lTimeLag)
{
    std::lock_guard<std::mutex> lock(p_->mu);
    Impl& s = *p_;
    s.booParams = false;
    if (!s.booModule) return kStatNotInitialised;
    if (sFilmPath == nullptr || (lPictCount != 1 && lPictCount != 2 && lPictCount != 4) || lTimeStep <= 0 ||
        lTimeLag < 0)
        return kStatUnsuitableParam;
    const int32_t lStat = lReadFilmData(sFilmPath, lTimeStep, lTimeLag, s.film);
    if (lStat != 0) return lStat;
    s.lTimeStep = lTimeStep;
    s.lPictCount = lPictCount;
    s.timeline.clear();
    s.tech.clear();
    s.booCommandSeen = false;
    s.booParams = true;
    return 0;
}

int32_t VirtualSensor::waitXExpose()
{
    std::lock_guard<std::mutex> lock(p_->mu);
    Impl& s = *p_;
    if (!s.booParams) return kStatNotInitialised;
    // The four-image TMJ exposure comes in two halves, one "X1" each.
    const int32_t lPerBurst = s.lPictCount == 4 ? 2 : s.lPictCount;
    s.timeline.arm(s.lPictCount, lPerBurst, static_cast<uint32_t>(s.keys.lXrayDelayMs),
                   static_cast<uint32_t>(s.keys.lXrayOnMs), static_cast<uint32_t>(s.keys.lXrayGapMs));
    return 0;
}

int32_t VirtualSensor::checkPictStatus(uint8_t* pbytStat)
{
    std::lock_guard<std::mutex> lock(p_->mu);
    if (pbytStat == nullptr) return kStatUnsuitableParam;
    const uint32_t lNow = platform::GetTickCount();
    if (p_->keys.lPollFail != 0 && p_->timeline.booBegun(lNow)) return p_->keys.lPollFail;
    *pbytStat = p_->timeline.bytPoll(lNow);
    return 0;
}

int32_t VirtualSensor::getImageData(int32_t lPictCount)
{
    std::lock_guard<std::mutex> lock(p_->mu);
    Impl& s = *p_;
    if (!s.booParams) return kStatNotInitialised;
    const std::vector<XrayTimeline::Shot> shots = s.timeline.taken(platform::GetTickCount());
    if (lPictCount < 1 || lPictCount > static_cast<int32_t>(shots.size())) return kStatNoSensorData;
    s.raw = renderRadiograph(s.setupFor(shots, lPictCount));
    vBurnSimulationMark(s.raw);  // whatever becomes of the data, it says what it is
    s.booRaw = true;
    return 0;
}

int32_t VirtualSensor::deviceFree()
{
    std::lock_guard<std::mutex> lock(p_->mu);
    // The sensor is released; image data already read stays with the library.
    p_->timeline.clear();
    p_->booParams = false;
    return 0;
}

int32_t VirtualSensor::imageProcessing(const char* sDatPath, int32_t* plValue1, int32_t* plValue2)
{
    std::lock_guard<std::mutex> lock(p_->mu);
    const Impl& s = *p_;
    if (sDatPath == nullptr || plValue1 == nullptr || plValue2 == nullptr) return kStatUnsuitableParam;
    if (*sDatPath == '\0') return kStatParameter;
    if (!s.booRaw) return kStatNoSensorData;
    DatHeader h;
    h.lWidth = s.raw.lWidth, h.lHeight = s.raw.lHeight, h.lStride = lBmpStride(s.raw.lWidth);
    h.lViews = static_cast<int32_t>(s.raw.openLevels.size());
    h.lProjection = s.film.eProjection == Projection::Tmj ? 1 : 0;
    h.lKv = s.tech.empty() ? s.lKv : s.tech[0].lKv;
    h.lMa = s.tech.empty() ? s.lMa : s.tech[0].lMa;
    h.lOpenLevel = s.raw.openLevels.empty() ? 0 : s.raw.openLevels[0];
    h.lDensityLowMilli = static_cast<int32_t>(kDensityLow * 1000), h.lDensityRangeMilli = static_cast<int32_t>(kDensityRange * 1000);
    h.lGammaMilli = static_cast<int32_t>(kGamma * 1000);
    h.lSeed = s.keys.lSeed;
    h.lPixelsPerMetre = s.raw.lPixelsPerMetre;
    h.lPixelBytes = h.lStride * h.lHeight;
    h.lBinning = s.keys.lBinning;
    const DensityMapper mapper(s.raw);
    if (!booWriteDat(sDatPath, h, [&](int32_t y, uint8_t* dst) { mapper.row(y, dst); })) return kStatDatWrite;
    *plValue1 = h.lWidth;
    *plValue2 = h.lHeight;
    return 0;
}

int32_t VirtualSensor::saveBitmap(const char* sDatPath, int32_t lValue1, int32_t lValue2, int32_t /*lZero1*/,
                                  int32_t /*lZero2*/, const char* sBmpName)
{
    if (sDatPath == nullptr || sBmpName == nullptr) return kStatUnsuitableParam;
    if (*sBmpName == '\0') return kStatParameter;
    DatHeader h;
    int fd = -1;
    if (!booOpenDat(sDatPath, h, fd)) return kStatDatRead;
    int32_t lStat = 0;
    if (h.lWidth != lValue1 || h.lHeight != lValue2) {
        lStat = kStatParameter;
    } else if (!booWriteBmp(sBmpName, bmpHeader(h.lWidth, h.lHeight, h.lPixelsPerMetre), fd,
                            static_cast<size_t>(h.lPixelBytes))) {
        lStat = kStatBmpWrite;
    }
    close(fd);
    return lStat;
}

void VirtualSensor::onConsoleCommand(const std::string& sText)
{
    std::lock_guard<std::mutex> lock(p_->mu);
    Impl& s = *p_;
    if (sText.rfind("NP_", 0) == 0) {
        // "NP_<mode> <kV> <mA>": the technique of the coming X-ray.
        std::istringstream in(sText);
        std::string sMode;
        int32_t lKv = 0, lMa = 0;
        if (in >> sMode >> lKv >> lMa && lKv > 0 && lMa > 0) s.lKv = lKv, s.lMa = lMa;
        s.booCommandSeen = true;
    } else if (sText == "x0" || sText == "r0" || sText == "d0") {
        // The console stops the X-ray, resets the unit or cancels the exposure.
        s.timeline.stop(platform::GetTickCount());
    }
}

void VirtualSensor::onUnitReport(const std::string& sText)
{
    std::lock_guard<std::mutex> lock(p_->mu);
    Impl& s = *p_;
    const uint32_t lNow = platform::GetTickCount();
    if (sText == "X1") {
        // One burst per exposure command: a resent "X1" starts nothing more.
        if (!s.booCommandSeen || s.keys.booNoXray || !s.timeline.booStartBurst(lNow)) return;
        s.booCommandSeen = false;
        s.tech.resize(static_cast<size_t>(s.timeline.lScheduled()), ViewExposure{s.lKv, s.lMa, 1.0});
    } else if (sText == "d0") {
        s.timeline.stop(lNow);  // the unit ended the exposure
    }
}

VirtualSensor& theSensor()
{
    static VirtualSensor s;
    return s;
}

}  // namespace sim
