// The synthetic radiograph the virtual sensor reads out: a panoramic image of
// the jaws (about 2900 x 1400 pixels) or four TMJ views side by side, with
// 12-bit counts as the CCD would deliver them: the X-ray through the anatomy,
// the sweep's dose, quantum and read noise, and the dark level of each row.
// Everything is drawn from a seed, so the same seed gives the same pixels.
#pragma once
#include <cstdint>
#include <vector>

#include "sim/film_data.h"

namespace sim {

// One image of the exposure as the sensor took it.
struct ViewExposure {
    int32_t lKv = 70;
    int32_t lMa = 4;
    double dFraction = 1.0;  // part of the sweep under X-ray (< 1 when cut short)
};

struct RadiographSetup {
    Projection eProjection = Projection::Panoramic;
    bool booChild = false;
    int32_t lViews = 1;                  // images of the whole exposure
    std::vector<ViewExposure> taken;     // images read out, in order (at most lViews)
    int32_t lBinning = 1;                // 1, 2 or 4: pixels summed per side
    uint32_t lSeed = 1;
    std::vector<int32_t> lSpeeds;        // the film's line clock over one sweep; empty = even
};

// 12-bit sensor data, rows top first.
struct RawImage {
    int32_t lWidth = 0;
    int32_t lHeight = 0;
    std::vector<uint16_t> px;
    std::vector<uint16_t> rowDark;       // each row's dark level as calibrated at initialisation
    int32_t lViewWidth = 0;              // columns of each image
    std::vector<int32_t> openLevels;     // each image's open-field counts above dark, as calibrated
    int32_t lPixelsPerMetre = 0;
};

inline constexpr int32_t kFullWidth = 2900;
inline constexpr int32_t kFullHeight = 1400;
inline constexpr int32_t kTmjViewWidth = 725;
inline constexpr uint16_t kMaxCount = 4095;

// Width of one image (view) of the exposure at the setup's binning.
int32_t lViewWidth(const RadiographSetup& setup);
RawImage renderRadiograph(const RadiographSetup& setup);

}  // namespace sim
