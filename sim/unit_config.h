// What the virtual unit is told by section [ZyrPan2]: where it stands, how
// long its movements and the operator take, and which faults it shows.
// The library's embedded unit and zyrpan-unit read the same keys.
#pragma once
#include <cstdint>
#include <string>

namespace sim {

struct UnitTimings {
    int32_t lSensorPosition = 1;      // SensorPosition: s0..s3 at connection
    bool booStartAtOrigin = true;     // StartAtOrigin: arm at its origin when powered on
    uint32_t lAnswerDelay = 100;      // AnswerDelay: ms from a query to its answer
    uint32_t lMoveTime = 3000;        // MoveTime: ms of a movement to origin or cephalo
    uint32_t lReadyTime = 2000;       // ReadyTime: ms from NP_... (or d1) to the "d1" report
    uint32_t lHalfMoveTime = 3000;    // HalfMoveTime: ms from "d1" to "z1" in half/package mode
    int32_t lHandSwitchDelay = 2000;  // HandSwitchDelay: ms from "d1" to the hand switch; -1 never
    uint32_t lHandSwitchHold = 0;     // HandSwitchHold: released this long after "X1"; 0 held
    uint32_t lReadyTimeout = 0;       // ReadyTimeout: READY given up ("d0") without exposure; 0 never
    uint32_t lCoolTime = 10;          // CoolTime: seconds of tube cooling after an exposure
    uint32_t lCoolTimeAtStart = 0;    // CoolTimeAtStart: seconds of cooling still due at power-on
    // The X-ray as the sensor sees it after each "X1" (the sensor reads the
    // same keys): delay to the first image, each image's length, the gap.
    uint32_t lXrayDelay = 500;        // XrayDelay
    uint32_t lXrayOn = 3000;          // XrayOn
    uint32_t lXrayGap = 1000;         // XrayGap
};

struct UnitFaults {
    uint32_t lNakFirst = 0;            // NakFirst: NAK the console's first N frames
    bool booNeverAck = false;          // NeverAck: the unit stays silent
    bool booCoolBeforeAck = false;     // CoolBeforeAck: an owed cooling answer goes ahead of the next ACK
    uint32_t lDropEvery = 0;           // DropEvery: every Nth frame of the unit is lost
    uint32_t lCorruptEvery = 0;        // CorruptEvery: every Nth frame of the unit is spoiled
    uint32_t lDropEveryCommand = 0;    // DropEveryCommand: every Nth frame of the console is lost
    uint32_t lCorruptEveryCommand = 0; // CorruptEveryCommand: ... arrives spoiled
    int32_t lErrorNo = 0;              // ErrorNo: report "e" + n ...
    std::string sErrorAt;              // ErrorAt: ... at this step (c1, T1, r1, m1, NP, d1, X1)
    uint32_t lErrorOccurrence = 1;     // ErrorOccurrence: ... its Nth occurrence
    uint32_t lMoveStopAfter = 0;       // MoveStopAfter: a movement halts after N ms ...
    uint32_t lMoveStopSkip = 0;        // MoveStopSkip: ... after K movements made in full ...
    uint32_t lMoveStopCount = 1;       // MoveStopCount: ... for N movements
    uint32_t lLoseLinkAfter = 0;       // LoseLinkAfter: seconds after the link opens
    bool booLoseLinkRepeat = false;    // LoseLinkRepeat: every link, not only the first
};

struct UnitConfig {
    UnitTimings t;
    UnitFaults f;
};

UnitConfig readUnitConfig(const std::string& sIniPath);

}  // namespace sim
