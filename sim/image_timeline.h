// When the virtual X-ray is on, image by image. An exposure of N images runs
// in bursts: each "X1" of the unit starts one burst after a delay, a burst
// being every image of the exposure, or half of them for the four-image TMJ
// exposure. Times are 32-bit millisecond ticks and may wrap.
#pragma once
#include <cstdint>
#include <vector>

namespace sim {

class XrayTimeline {
public:
    struct Shot {
        uint32_t lOn = 0;      // tick the X-ray began
        uint32_t lOff = 0;     // tick it ended (earlier than planned when cut)
        uint32_t lPlanned = 0; // planned X-ray time, ms
        int32_t lBurst = 0;    // burst that took it (0, 1)
    };

    // A fresh exposure of lImages images, lPerBurst of them per "X1".
    void arm(int32_t lImages, int32_t lPerBurst, uint32_t lDelayMs, uint32_t lOnMs, uint32_t lGapMs);
    // Nothing armed, nothing taken.
    void clear();

    // The unit's "X1": schedules the next burst unless one is still running,
    // all images are scheduled or the timeline is not armed. True when it did.
    bool booStartBurst(uint32_t lNow);
    // The X-ray ends now: an image under way is cut short, images not yet
    // begun are dropped, and no further burst starts.
    void stop(uint32_t lNow);

    // The status byte the sensor reports: 1 while the X-ray is on. A poll
    // reports at most one edge more than the last one did, so an image that
    // began and ended between two polls is still seen as one 1 and one 0.
    uint8_t bytPoll(uint32_t lNow);

    // Images whose X-ray has ended by lNow (cut ones included), in order.
    std::vector<Shot> taken(uint32_t lNow) const;
    // True while a burst is scheduled or under way.
    bool booBusy(uint32_t lNow) const;
    // True once some image's X-ray has begun.
    bool booBegun(uint32_t lNow) const;
    bool booArmed() const { return booArmed_; }
    int32_t lImages() const { return lImages_; }
    int32_t lScheduled() const { return static_cast<int32_t>(shots_.size()); }

private:
    int32_t lEdgesReached(uint32_t lNow) const;

    std::vector<Shot> shots_;
    bool booArmed_ = false;
    int32_t lImages_ = 0;
    int32_t lPerBurst_ = 0;
    int32_t lBursts_ = 0;
    uint32_t lDelayMs_ = 0;
    uint32_t lOnMs_ = 0;
    uint32_t lGapMs_ = 0;
    int32_t lReported_ = 0;  // edges reported by polls so far
};

// True when tick a is at or after tick b, across a wrap of the counter.
inline bool booReached(uint32_t lNow, uint32_t lAt)
{
    return static_cast<int32_t>(lNow - lAt) >= 0;
}

}  // namespace sim
