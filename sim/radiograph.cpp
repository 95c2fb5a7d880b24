#include "sim/radiograph.h"

#include <algorithm>
#include <cmath>

#include "sim/radiograph_anatomy.h"

namespace sim {
namespace {

// The sensor: counts of the open field at 80 kV and 8 mA, how the spectrum
// hardens with kV (less contrast), and the noise of the CCD and its amplifier.
constexpr double kFullCounts = 3300.0;
constexpr double kGainCountsPerQuantum = 1.6;
constexpr double kReadNoise = 3.0;
constexpr double kDarkDriftCounts = 8.0;  // dark current gathered over one sweep
constexpr int32_t kExpPerUnit = 256;
constexpr int32_t kExpUnits = 16;
constexpr int32_t kGaussTable = 1 << 16;

int32_t lBinningOf(const RadiographSetup& setup) { return setup.lBinning >= 4 ? 4 : setup.lBinning >= 2 ? 2 : 1; }

// How strongly the anatomy attenuates at this tube voltage: a harder beam
// goes through bone more easily.
double dContrastOf(int32_t lKv) { return std::pow(70.0 / std::max(40, lKv), 1.6); }

double dOpenCountsOf(int32_t lKv, int32_t lMa)
{
    return kFullCounts * (std::max(1, lMa) / 8.0) * std::pow(std::max(40, lKv) / 80.0, 2.5);
}

const std::vector<float>& gaussTable()
{
    static const std::vector<float> table = [] {
        std::vector<float> t(kGaussTable);
        Rng rng(0x5EED5EEDull);
        for (float& v : t) v = static_cast<float>(rng.gauss());
        return t;
    }();
    return table;
}

// Relative dose along the sweep: the sensor dwells longer where the film's
// line clock runs slower, which is how the sweep makes up for the spine.
std::vector<float> doseProfile(const std::vector<int32_t>& speeds, int32_t lCols)
{
    std::vector<float> dose(static_cast<size_t>(lCols), 1.f);
    if (speeds.empty()) return dose;
    double mean = 0;
    for (int32_t v : speeds) mean += v;
    mean /= static_cast<double>(speeds.size());
    for (int32_t x = 0; x < lCols; ++x) {
        const size_t i = std::min(speeds.size() - 1, static_cast<size_t>((x + 0.5) / lCols * static_cast<double>(speeds.size())));
        dose[static_cast<size_t>(x)] = static_cast<float>(mean / std::max(1, speeds[i]));
    }
    return dose;
}

struct Exposer {
    const RadiographSetup& setup;
    RawImage& out;
    std::vector<uint16_t> trueDark;
    int32_t lBin;
    uint32_t lNoise;

    // Writes view i of the output from columns [x0, x0 + width) of the map.
    void expose(const AttenMap& map, int32_t x0, int32_t lView)
    {
        const int32_t lVw = lViewWidth(setup);
        const ViewExposure& v = setup.taken[static_cast<size_t>(lView)];
        const double c = dContrastOf(v.lKv) * kExpPerUnit;
        const float fOpen = static_cast<float>(dOpenCountsOf(v.lKv, v.lMa));
        const std::vector<float> dose = doseProfile(setup.lSpeeds, lVw);
        const int32_t lLit = static_cast<int32_t>(std::clamp(v.dFraction, 0.0, 1.0) * lVw + 0.5);
        static const std::vector<float> expTab = [] {
            std::vector<float> t(kExpUnits * kExpPerUnit);
            for (size_t i = 0; i < t.size(); ++i) t[i] = static_cast<float>(std::exp(-static_cast<double>(i) / kExpPerUnit));
            return t;
        }();
        const std::vector<float>& gauss = gaussTable();
        const float fGain = static_cast<float>(kGainCountsPerQuantum), fRead2 = static_cast<float>(kReadNoise * kReadNoise);
        const float fInvBin = 1.f / static_cast<float>(lBin);
        for (int32_t y = 0; y < out.lHeight; ++y) {
            uint16_t* dst = out.px.data() + static_cast<size_t>(y) * out.lWidth + static_cast<size_t>(lView) * lVw;
            for (int32_t x = 0; x < lVw; ++x) {
                float s = 0.f;
                if (x < lLit) {
                    const float a = map.at(x0 + x, y);
                    float fi = a * static_cast<float>(c);
                    fi = fi > 0.f ? std::min(fi, static_cast<float>(expTab.size() - 1)) : 0.f;
                    const size_t i = static_cast<size_t>(fi);
                    s = fOpen * dose[static_cast<size_t>(x)] * expTab[i];
                }
                lNoise ^= lNoise << 13, lNoise ^= lNoise >> 17, lNoise ^= lNoise << 5;
                const float sigma = std::sqrt(fGain * s + fRead2) * fInvBin;
                const float dark = trueDark[static_cast<size_t>(y)] + static_cast<float>(kDarkDriftCounts) * x / lVw;
                const float val = s + dark + sigma * gauss[lNoise & (kGaussTable - 1)];
                dst[x] = static_cast<uint16_t>(std::clamp(val + 0.5f, 0.f, static_cast<float>(kMaxCount)));
            }
        }
    }
};

}  // namespace

int32_t lViewWidth(const RadiographSetup& setup)
{
    const int32_t lBin = lBinningOf(setup);
    if (setup.eProjection == Projection::Tmj) return kTmjViewWidth / lBin;
    return kFullWidth / std::max(1, setup.lViews) / lBin;
}

RawImage renderRadiograph(const RadiographSetup& setup)
{
    RawImage out;
    const int32_t lBin = lBinningOf(setup);
    const int32_t lVw = lViewWidth(setup);
    const int32_t lN = std::min<int32_t>(static_cast<int32_t>(setup.taken.size()), std::max(1, setup.lViews));
    out.lWidth = lN * lVw;
    out.lHeight = kFullHeight / lBin;
    out.lPixelsPerMetre = 10000 / lBin;  // 0.1 mm pixels on the sensor
    out.px.assign(static_cast<size_t>(out.lWidth) * out.lHeight, 0);

    // The rows' dark levels are a fixed pattern of this sensor; calibration
    // at initialisation knows each to about a count.
    Rng darkRng(0xDA4C0000ull ^ setup.lSeed);
    Exposer ex{setup, out, {}, lBin, static_cast<uint32_t>(setup.lSeed * 2654435761u) | 1u};
    for (int32_t y = 0; y < out.lHeight; ++y) {
        const double d = 60.0 + 50.0 * darkRng.uniform() + (darkRng.uniform() < 0.005 ? 40.0 : 0.0);
        ex.trueDark.push_back(static_cast<uint16_t>(d));
        out.rowDark.push_back(static_cast<uint16_t>(std::max(0.0, d + std::round(0.6 * darkRng.gauss()))));
    }
    out.lViewWidth = lVw;
    // The sensor's flat-field calibration knows what the open field gives at
    // each image's kV and mA.
    for (int32_t i = 0; i < lN; ++i) {
        const ViewExposure& v = setup.taken[static_cast<size_t>(i)];
        out.openLevels.push_back(static_cast<int32_t>(dOpenCountsOf(v.lKv, v.lMa) + 0.5));
    }
    if (lN == 0) return out;

    const uint64_t llSeed = setup.lSeed;
    if (setup.eProjection == Projection::Panoramic) {
        AttenMap map(kFullWidth / lBin, out.lHeight);
        Geo g;
        g.fK = 1.f / static_cast<float>(lBin);
        g.fScale = setup.booChild ? 0.86f : 1.f;
        g.lW = map.lW(), g.lH = map.lH();
        drawPanoramic(map, g, setup.booChild, llSeed);
        drawDentition(map, g, setup.booChild, llSeed);
        for (int32_t i = 0; i < lN; ++i) ex.expose(map, i * lVw, i);
    } else {
        for (int32_t i = 0; i < lN; ++i) {
            AttenMap map(lVw, out.lHeight);
            Geo g;
            g.fK = 1.f / static_cast<float>(lBin);
            g.fScale = setup.booChild ? 0.88f : 1.f;
            g.fCx = kTmjViewWidth / 2.f, g.fCy = 700.f;
            g.lW = map.lW(), g.lH = map.lH();
            // Right side closed and open, then left side open and closed.
            drawTmjView(map, g, i == 1 || i == 2, i >= 2, llSeed + static_cast<uint64_t>(i));
            ex.expose(map, 0, i);
        }
    }
    return out;
}

}  // namespace sim
