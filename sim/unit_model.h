// What the unit's main CPU does with each command and what it reports, in
// each of its states: where the arm stands, the movements it makes, READY
// and the exposure with the operator's hand switch, the TMJ halves, the
// tube's cooling, the service modes and the errors it reports. Time passes
// only through the steps it schedules; nothing here reads a clock.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/fault_injector.h"
#include "sim/unit_config.h"

namespace sim {

class UnitModel {
public:
    using Reporter = std::function<void(const std::string& text, uint32_t now)>;

    UnitModel(const UnitTimings& t, FaultInjector& faults, uint32_t now);
    void vSetReporter(Reporter reporter) { report_ = std::move(reporter); }

    // A console came on the line: the next status request gets the sensor
    // report, and answers meant for the last console are not sent.
    void vLinkOpened();
    // A command the protocol responder acknowledged.
    void vCommand(const std::string& text, uint32_t now);
    // Runs every step due by now, in order of time.
    void vRunDue(uint32_t now);
    std::optional<uint32_t> nextDue() const;
    // Sends a cooling answer still owed at once (the CoolBeforeAck fault).
    void vSayCoolAnswerNow(uint32_t now);

    // The arm and the service modes, for the trace and tests.
    bool booAtOrigin() const { return atHome_ && !ceph_; }
    bool booAtCephalo() const { return atHome_ && ceph_; }
    bool booHalfMode() const { return half_; }
    bool booPackageMode() const { return package_; }
    bool booTestMode() const { return test_; }
    int32_t lErrorNo() const { return errorNo_; }
    const std::string& sAutoPower() const { return autoPower_; }
    const std::string& sDisplay() const { return display_; }

private:
    enum class Activity { Idle, ToOrigin, ToCeph, ToReady, Ready, Exposing, Returning, HalfToReady, HalfMoving };
    enum class Act { Answer, PosAnswer, CoolAnswer, MoveDone, MoveHalt, HandSwitch, XrayEnd, HandRelease, ReadyTimeout };
    struct Step {
        uint32_t due;
        uint64_t seq;
        Act act;
        std::string text;
    };

    void vQuery(uint32_t now);
    void vMotionCommand(const std::string& text, uint32_t now);
    void vServiceCommand(const std::string& text);
    void vRun(const Step& step);
    void vMoveDone(uint32_t now);
    void vHandSwitch(uint32_t now);
    void vXrayEnd(uint32_t now);

    void vSchedule(uint32_t due, Act act, std::string text = {});
    void vAnswer(std::string text, uint32_t now) { vSchedule(now + t_.lAnswerDelay, Act::Answer, std::move(text)); }
    bool booPending(Act act) const;
    void vDrop(std::initializer_list<Act> acts);
    void vStartMove(Activity activity, uint32_t duration, uint32_t now);
    void vStopMotion(uint32_t now);
    void vRaise(int32_t n, bool booMotion, uint32_t now);
    void vStartCooling(uint32_t now);
    uint32_t lCoolSeconds(uint32_t now);
    std::string sPosition() const;
    void vSay(const std::string& text, uint32_t now) { if (report_) report_(text, now); }

    UnitTimings t_;
    FaultInjector& faults_;
    Reporter report_;
    std::vector<Step> steps_;
    uint64_t seq_ = 0;

    Activity act_ = Activity::Idle;
    bool atHome_ = true;
    bool ceph_ = false;
    bool linkFresh_ = true;
    int32_t errorNo_ = 0;
    bool test_ = false, half_ = false, package_ = false;
    bool cooling_ = false;
    uint32_t coolUntil_ = 0;
    std::string readyCmd_;   // the exposure command of the READY under way
    bool tmjSecondHalf_ = false;
    std::string autoPower_, display_;
};

}  // namespace sim
