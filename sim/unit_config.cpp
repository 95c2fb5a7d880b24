#include "sim/unit_config.h"

#include "sim/ini_keys.h"

namespace sim {
namespace {

constexpr int64_t kHour = 3600 * 1000;

uint32_t ms(const std::string& path, const char* key, uint32_t deflt) {
    return static_cast<uint32_t>(lIniNumber(path, key, deflt, 0, kHour));
}

uint32_t count(const std::string& path, const char* key, uint32_t deflt) {
    return static_cast<uint32_t>(lIniNumber(path, key, deflt, 0, 1000000));
}

bool flag(const std::string& path, const char* key, bool deflt) {
    return lIniNumber(path, key, deflt ? 1 : 0, -1, 1) != 0;
}

}  // namespace

UnitConfig readUnitConfig(const std::string& path) {
    UnitConfig c;
    UnitTimings& t = c.t;
    t.lSensorPosition = static_cast<int32_t>(lIniNumber(path, "SensorPosition", 1, 0, 3));
    t.booStartAtOrigin = flag(path, "StartAtOrigin", true);
    t.lAnswerDelay = ms(path, "AnswerDelay", t.lAnswerDelay);
    t.lMoveTime = ms(path, "MoveTime", t.lMoveTime);
    t.lReadyTime = ms(path, "ReadyTime", t.lReadyTime);
    t.lHalfMoveTime = ms(path, "HalfMoveTime", t.lHalfMoveTime);
    t.lHandSwitchDelay = static_cast<int32_t>(lIniNumber(path, "HandSwitchDelay", 2000, -1, kHour));
    t.lHandSwitchHold = ms(path, "HandSwitchHold", 0);
    t.lReadyTimeout = ms(path, "ReadyTimeout", 0);
    t.lCoolTime = count(path, "CoolTime", t.lCoolTime);
    t.lCoolTimeAtStart = count(path, "CoolTimeAtStart", 0);
    t.lXrayDelay = ms(path, "XrayDelay", t.lXrayDelay);
    t.lXrayOn = ms(path, "XrayOn", t.lXrayOn);
    t.lXrayGap = ms(path, "XrayGap", t.lXrayGap);

    UnitFaults& f = c.f;
    f.lNakFirst = count(path, "NakFirst", 0);
    f.booNeverAck = flag(path, "NeverAck", false);
    f.booCoolBeforeAck = flag(path, "CoolBeforeAck", false);
    f.lDropEvery = count(path, "DropEvery", 0);
    f.lCorruptEvery = count(path, "CorruptEvery", 0);
    f.lDropEveryCommand = count(path, "DropEveryCommand", 0);
    f.lCorruptEveryCommand = count(path, "CorruptEveryCommand", 0);
    f.lErrorNo = static_cast<int32_t>(lIniNumber(path, "ErrorNo", 0, 0, 999));
    f.sErrorAt = sIniText(path, "ErrorAt");
    f.lErrorOccurrence = count(path, "ErrorOccurrence", 1);
    f.lMoveStopAfter = ms(path, "MoveStopAfter", 0);
    f.lMoveStopSkip = count(path, "MoveStopSkip", 0);
    f.lMoveStopCount = count(path, "MoveStopCount", 1);
    f.lLoseLinkAfter = count(path, "LoseLinkAfter", 0);
    f.booLoseLinkRepeat = flag(path, "LoseLinkRepeat", false);
    return c;
}

}  // namespace sim
