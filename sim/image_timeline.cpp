#include "sim/image_timeline.h"

#include <algorithm>

namespace sim {

void XrayTimeline::arm(int32_t lImages, int32_t lPerBurst, uint32_t lDelayMs, uint32_t lOnMs, uint32_t lGapMs)
{
    clear();
    booArmed_ = lImages > 0 && lPerBurst > 0;
    lImages_ = lImages;
    lPerBurst_ = lPerBurst;
    lDelayMs_ = lDelayMs;
    lOnMs_ = std::max<uint32_t>(lOnMs, 1);
    lGapMs_ = lGapMs;
}

void XrayTimeline::clear()
{
    *this = XrayTimeline();
}

bool XrayTimeline::booStartBurst(uint32_t lNow)
{
    if (!booArmed_ || booBusy(lNow)) return false;
    const int32_t lLeft = lImages_ - static_cast<int32_t>(shots_.size());
    if (lLeft <= 0) return false;
    uint32_t lAt = lNow + lDelayMs_;
    for (int32_t i = 0; i < std::min(lLeft, lPerBurst_); ++i) {
        shots_.push_back(Shot{lAt, lAt + lOnMs_, lOnMs_, lBursts_});
        lAt += lOnMs_ + lGapMs_;
    }
    ++lBursts_;
    return true;
}

void XrayTimeline::stop(uint32_t lNow)
{
    booArmed_ = false;
    // Only an image whose X-ray has really begun stays; it ends now.
    std::erase_if(shots_, [&](const Shot& s) { return lNow == s.lOn || !booReached(lNow, s.lOn); });
    for (Shot& s : shots_) {
        if (!booReached(lNow, s.lOff)) s.lOff = lNow;
    }
}

int32_t XrayTimeline::lEdgesReached(uint32_t lNow) const
{
    int32_t n = 0;
    for (const Shot& s : shots_) {
        if (!booReached(lNow, s.lOn)) break;
        ++n;
        if (!booReached(lNow, s.lOff)) break;
        ++n;
    }
    return n;
}

uint8_t XrayTimeline::bytPoll(uint32_t lNow)
{
    const int32_t lReached = lEdgesReached(lNow);
    if (lReported_ < lReached) ++lReported_;
    return static_cast<uint8_t>(lReported_ & 1);
}

std::vector<XrayTimeline::Shot> XrayTimeline::taken(uint32_t lNow) const
{
    std::vector<Shot> out;
    for (const Shot& s : shots_) {
        if (!booReached(lNow, s.lOff)) break;
        out.push_back(s);
    }
    return out;
}

bool XrayTimeline::booBusy(uint32_t lNow) const
{
    return !shots_.empty() && !booReached(lNow, shots_.back().lOff);
}

bool XrayTimeline::booBegun(uint32_t lNow) const
{
    return !shots_.empty() && booReached(lNow, shots_.front().lOn);
}

}  // namespace sim
