#include "sim/unit_model.h"

#include <algorithm>

namespace sim {
namespace {

bool booLater(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) > 0; }

// Images of one run of the X-ray: the TMJ exposure takes two views per
// READY (four in two halves), a panoramic one image.
uint32_t lImagesPerRun(const std::string& readyCmd) {
    return readyCmd.rfind("NP_T4", 0) == 0 ? 2 : 1;
}

bool booIs(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

UnitModel::UnitModel(const UnitTimings& t, FaultInjector& faults, uint32_t now)
    : t_(t), faults_(faults), atHome_(t.booStartAtOrigin), ceph_(t.lSensorPosition == 2) {
    if (t_.lCoolTimeAtStart > 0) {
        cooling_ = true;
        coolUntil_ = now + t_.lCoolTimeAtStart * 1000u;
    }
}

void UnitModel::vLinkOpened() {
    linkFresh_ = true;
    vDrop({Act::Answer, Act::PosAnswer, Act::CoolAnswer});
}

void UnitModel::vCommand(const std::string& text, uint32_t now) {
    // A cooling answer not yet sent is outdated by any newer command: the
    // console asks again when it still needs it.
    if (text != "T1") vDrop({Act::CoolAnswer});
    if (text == "c1") {
        vQuery(now);
    } else if (text == "T1") {
        if (const int32_t n = faults_.lErrorAt("T1")) vRaise(n, false, now);
        else if (!booPending(Act::CoolAnswer)) vSchedule(now + t_.lAnswerDelay, Act::CoolAnswer);
    } else if (text == "r1" || text == "r0" || text == "m1" || text == "m0" || text == "d1" ||
               text == "d0" || text == "x0" || booIs(text, "NP_")) {
        vMotionCommand(text, now);
    } else {
        vServiceCommand(text);
    }
}

void UnitModel::vQuery(uint32_t now) {
    if (const int32_t n = faults_.lErrorAt("c1")) return vRaise(n, false, now);
    // A repeated request (the console sent it again) gets one answer.
    if (booPending(Act::PosAnswer)) return;
    std::string text;  // empty: the arm's position when the answer goes out
    if (errorNo_ != 0) {
        text = "e" + std::to_string(errorNo_);
    } else if (linkFresh_) {
        linkFresh_ = false;
        text = "s" + std::to_string(t_.lSensorPosition);
    }
    vSchedule(now + t_.lAnswerDelay, Act::PosAnswer, std::move(text));
}

void UnitModel::vMotionCommand(const std::string& text, uint32_t now) {
    const bool moving = act_ != Activity::Idle;
    if (text == "r0" || text == "m0" || text == "d0" || text == "x0") {
        // Stop what the arm (or the X-ray) is doing; nothing is reported
        // but the X-ray going off. RESET in an error state clears it.
        if (text == "r0") errorNo_ = 0;
        const bool stops = (text == "r0") || (text == "m0" && act_ == Activity::ToCeph) ||
                           ((text == "d0" || text == "x0") && act_ != Activity::ToOrigin &&
                            act_ != Activity::ToCeph);
        if (moving && stops) {
            if (act_ == Activity::Exposing) vSay("X0", now);
            vStopMotion(now);
        }
        return;
    }
    const std::string step = booIs(text, "NP_") ? "NP" : text;
    if (const int32_t n = faults_.lErrorAt(step)) return vRaise(n, true, now);
    if (text == "r1") {
        errorNo_ = 0;  // the return to origin is the way out of an error
        if (act_ == Activity::ToOrigin) return;
        const bool home = booAtOrigin() && !moving;
        vStopMotion(now);
        return vStartMove(Activity::ToOrigin, home ? t_.lAnswerDelay : t_.lMoveTime, now);
    }
    if (errorNo_ != 0) return vAnswer("e" + std::to_string(errorNo_), now);
    if (text == "m1") {
        if (act_ == Activity::ToCeph) return;
        const bool home = booAtCephalo() && !moving;
        vStopMotion(now);
        return vStartMove(Activity::ToCeph, home ? t_.lAnswerDelay : t_.lMoveTime, now);
    }
    if (text == "d1") {
        if (act_ == Activity::HalfToReady || act_ == Activity::HalfMoving) return;
        vStopMotion(now);
        return vStartMove(Activity::HalfToReady, t_.lReadyTime, now);
    }
    // The exposure command: the arm goes to its READY position. The same
    // command again while that READY stands is a repeat, not a new one.
    const bool sameReady = text == readyCmd_ && (act_ == Activity::ToReady || act_ == Activity::Ready ||
                                                 act_ == Activity::Exposing);
    if (sameReady) return;
    const bool secondHalf = tmjSecondHalf_ && text == readyCmd_ && act_ == Activity::Idle;
    vStopMotion(now);
    tmjSecondHalf_ = secondHalf;
    readyCmd_ = text;
    vStartMove(Activity::ToReady, t_.lReadyTime, now);
}

void UnitModel::vServiceCommand(const std::string& text) {
    if (text.size() < 2) return;
    const bool on = text.size() == 2 && text[1] == '1';
    const bool off = text.size() == 2 && text[1] == '0';
    if (on || off) {
        switch (text[0]) {
            case 't':
                test_ = on;
                if (off) half_ = package_ = false;
                return;
            case 'h':
                half_ = on;
                if (on) package_ = false;
                return;
            case 'p':
                package_ = on;
                if (on) half_ = false;
                return;
            default: break;
        }
    }
    const std::string value = text.substr(2);
    const bool digits = !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (digits && booIs(text, "ap")) autoPower_ = value;
    if (digits && booIs(text, "sp")) display_ = value;
    // Anything else is not a command of this unit; it was acknowledged as a
    // well-formed frame and is otherwise ignored.
}

void UnitModel::vRunDue(uint32_t now) {
    for (;;) {
        auto it = std::min_element(steps_.begin(), steps_.end(), [](const Step& a, const Step& b) {
            return a.due != b.due ? booLater(b.due, a.due) : a.seq < b.seq;
        });
        if (it == steps_.end() || booLater(it->due, now)) return;
        const Step step = *it;
        steps_.erase(it);
        vRun(step);
    }
}

void UnitModel::vSayCoolAnswerNow(uint32_t now) {
    if (!booPending(Act::CoolAnswer)) return;
    vDrop({Act::CoolAnswer});
    vRun(Step{now, ++seq_, Act::CoolAnswer, {}});
}

std::optional<uint32_t> UnitModel::nextDue() const {
    std::optional<uint32_t> due;
    for (const Step& s : steps_)
        if (!due || booLater(*due, s.due)) due = s.due;
    return due;
}

void UnitModel::vRun(const Step& step) {
    const uint32_t now = step.due;
    switch (step.act) {
        case Act::Answer: vSay(step.text, now); break;
        case Act::PosAnswer: vSay(step.text.empty() ? sPosition() : step.text, now); break;
        case Act::CoolAnswer: vSay("T" + std::to_string(lCoolSeconds(now)), now); break;
        case Act::MoveDone: vMoveDone(now); break;
        case Act::MoveHalt: {
            // The unit's stop button: the arm halts away from its goal.
            act_ = Activity::Idle;
            atHome_ = false;
            tmjSecondHalf_ = false;
            vSay(ceph_ ? "m0" : "r0", now);
            break;
        }
        case Act::HandSwitch: vHandSwitch(now); break;
        case Act::XrayEnd: vXrayEnd(now); break;
        case Act::HandRelease:
            // The operator let go of the hand switch: the X-ray stops and
            // the unit ends the exposure.
            vDrop({Act::XrayEnd});
            vSay("X0", now);
            vStartCooling(now);
            act_ = Activity::Idle;
            tmjSecondHalf_ = false;
            vSay("d0", now);
            break;
        case Act::ReadyTimeout:
            vDrop({Act::HandSwitch});
            act_ = Activity::Idle;
            tmjSecondHalf_ = false;
            vSay("d0", now);
            break;
    }
}

void UnitModel::vMoveDone(uint32_t now) {
    switch (act_) {
        case Activity::ToOrigin:
        case Activity::Returning:
            atHome_ = true;
            ceph_ = false;
            vSay(act_ == Activity::ToOrigin ? "r1" : "d1", now);
            act_ = Activity::Idle;
            break;
        case Activity::ToCeph:
            atHome_ = ceph_ = true;
            act_ = Activity::Idle;
            vSay("m1", now);
            break;
        case Activity::ToReady:
            act_ = Activity::Ready;
            vSay("d1", now);
            if (t_.lHandSwitchDelay >= 0)
                vSchedule(now + static_cast<uint32_t>(t_.lHandSwitchDelay), Act::HandSwitch);
            if (t_.lReadyTimeout > 0) vSchedule(now + t_.lReadyTimeout, Act::ReadyTimeout);
            break;
        case Activity::HalfToReady:
            vSay("d1", now);
            vStartMove(Activity::HalfMoving, t_.lHalfMoveTime, now);
            break;
        case Activity::HalfMoving:
            act_ = Activity::Idle;
            vSay("z1", now);
            break;
        default: break;
    }
}

void UnitModel::vHandSwitch(uint32_t now) {
    vDrop({Act::ReadyTimeout});
    if (const int32_t n = faults_.lErrorAt("X1")) return vRaise(n, true, now);
    act_ = Activity::Exposing;
    vSay("X1", now);
    const uint32_t images = lImagesPerRun(readyCmd_);
    const uint32_t length = t_.lXrayDelay + images * t_.lXrayOn + (images - 1) * t_.lXrayGap;
    if (t_.lHandSwitchHold > 0 && t_.lHandSwitchHold < length)
        vSchedule(now + t_.lHandSwitchHold, Act::HandRelease);
    else
        vSchedule(now + length, Act::XrayEnd);
}

void UnitModel::vXrayEnd(uint32_t now) {
    vSay("X0", now);
    vSay("E1", now);
    vStartCooling(now);
    if (readyCmd_.rfind("NP_T4", 0) == 0 && !tmjSecondHalf_) {
        // First TMJ half: back to the origin, then "d1" invites the second.
        tmjSecondHalf_ = true;
        vStartMove(Activity::Returning, std::max<uint32_t>(t_.lMoveTime, 1000), now);
        return;
    }
    tmjSecondHalf_ = false;
    readyCmd_.clear();
    act_ = Activity::Idle;  // the arm rests where the exposure ended
}

void UnitModel::vSchedule(uint32_t due, Act act, std::string text) {
    steps_.push_back(Step{due, ++seq_, act, std::move(text)});
}

bool UnitModel::booPending(Act act) const {
    return std::any_of(steps_.begin(), steps_.end(), [act](const Step& s) { return s.act == act; });
}

void UnitModel::vDrop(std::initializer_list<Act> acts) {
    std::erase_if(steps_, [acts](const Step& s) {
        return std::find(acts.begin(), acts.end(), s.act) != acts.end();
    });
}

void UnitModel::vStartMove(Activity activity, uint32_t duration, uint32_t now) {
    act_ = activity;
    atHome_ = false;
    // The side the arm is on is the side it heads for, even if it halts.
    if (activity == Activity::ToCeph) ceph_ = true;
    if (activity == Activity::ToOrigin || activity == Activity::Returning) ceph_ = false;
    const auto halt = faults_.moveStop();
    if (halt && *halt < duration) vSchedule(now + *halt, Act::MoveHalt);
    else vSchedule(now + duration, Act::MoveDone);
}

void UnitModel::vStopMotion(uint32_t now) {
    if (act_ == Activity::Exposing) vStartCooling(now);
    if (act_ != Activity::Idle) atHome_ = false;
    act_ = Activity::Idle;
    tmjSecondHalf_ = false;
    vDrop({Act::MoveDone, Act::MoveHalt, Act::HandSwitch, Act::XrayEnd, Act::HandRelease, Act::ReadyTimeout});
}

void UnitModel::vRaise(int32_t n, bool booMotion, uint32_t now) {
    const bool wasMoving = act_ != Activity::Idle;
    vStopMotion(now);
    errorNo_ = n;
    vAnswer("e" + std::to_string(n), now);
    // The arm stopped where the error caught it: not at its origin.
    if (booMotion || wasMoving) {
        atHome_ = false;
        vAnswer("r0", now);
    }
}

void UnitModel::vStartCooling(uint32_t now) {
    if (t_.lCoolTime == 0) return;
    cooling_ = true;
    coolUntil_ = now + t_.lCoolTime * 1000u;
}

uint32_t UnitModel::lCoolSeconds(uint32_t now) {
    if (!cooling_) return 0;
    const auto left = static_cast<int32_t>(coolUntil_ - now);
    if (left <= 0) {
        cooling_ = false;
        return 0;
    }
    return (static_cast<uint32_t>(left) + 999) / 1000;
}

std::string UnitModel::sPosition() const {
    if (half_) return "h1";
    if (package_) return "p1";
    if (atHome_ && act_ == Activity::Idle) return ceph_ ? "m1" : "r1";
    return ceph_ ? "m0" : "r0";
}

}  // namespace sim
