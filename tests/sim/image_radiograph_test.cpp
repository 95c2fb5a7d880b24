// The synthetic radiograph: the same seed gives the same pixels, and kV and
// mA change what a radiographer expects them to change.
#include <cmath>

#include "sim/image_processing.h"
#include "sim/radiograph.h"
#include "tests/sim/sensor_support.h"

namespace sensortest {
namespace {

sim::RadiographSetup setup(int32_t kv, int32_t ma, uint32_t seed = 7, sim::Projection p = sim::Projection::Panoramic,
                         int32_t views = 1)
{
    sim::RadiographSetup s;
    s.eProjection = p;
    s.lViews = views;
    for (int32_t i = 0; i < views; ++i) s.taken.push_back({kv, ma, 1.0});
    s.lBinning = 4;
    s.lSeed = seed;
    return s;
}

// Mean and spread of the processed image over a box (image coordinates).
struct Stats {
    double mean = 0, sd = 0, noise = 0;
};

Stats stats(const sim::RawImage& raw, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const std::vector<uint8_t> img = sim::processedTopDown(raw);
    double s = 0, s2 = 0, n2 = 0;
    int64_t n = 0;
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0 + 1; x < x1 - 1; ++x) {
            const double v = img[size_t(y) * raw.lWidth + x];
            s += v, s2 += v * v, ++n;
            // Noise: what differs from the mean of the two neighbours.
            const double d = v - 0.5 * (img[size_t(y) * raw.lWidth + x - 1] + img[size_t(y) * raw.lWidth + x + 1]);
            n2 += d * d;
        }
    Stats st;
    st.mean = s / double(n);
    st.sd = std::sqrt(s2 / double(n) - st.mean * st.mean);
    st.noise = std::sqrt(n2 / double(n));
    return st;
}

TEST(Radiograph, SameSeedSamePixelsOtherSeedOtherPatient)
{
    const sim::RawImage a = sim::renderRadiograph(setup(70, 4, 11));
    const sim::RawImage b = sim::renderRadiograph(setup(70, 4, 11));
    const sim::RawImage c = sim::renderRadiograph(setup(70, 4, 12));
    EXPECT_EQ(a.px, b.px);
    EXPECT_EQ(a.rowDark, b.rowDark);
    ASSERT_EQ(a.px.size(), c.px.size());
    size_t differ = 0;
    for (size_t i = 0; i < a.px.size(); ++i) differ += a.px[i] != c.px[i];
    EXPECT_GT(differ, a.px.size() / 2);
}

TEST(Radiograph, SizesOfThePanoramaAndTheTmjViews)
{
    sim::RadiographSetup s = setup(70, 4);
    s.lBinning = 1;
    EXPECT_EQ(sim::lViewWidth(s), 2900);
    s.lViews = 2;
    EXPECT_EQ(sim::lViewWidth(s), 1450);
    s.eProjection = sim::Projection::Tmj;
    s.lViews = 4;
    EXPECT_EQ(sim::lViewWidth(s), 725);
    const sim::RawImage tmj = sim::renderRadiograph(setup(70, 4, 1, sim::Projection::Tmj, 4));
    EXPECT_EQ(tmj.lWidth, 4 * 181);
    EXPECT_EQ(tmj.lHeight, 350);
    EXPECT_EQ(tmj.lPixelsPerMetre, 2500);
    EXPECT_EQ(tmj.openLevels.size(), 4u);
}

TEST(Radiograph, CountsStayWithinTwelveBitsAboveTheDarkLevel)
{
    for (auto [kv, ma] : {std::pair{60, 2}, std::pair{80, 8}}) {
        const sim::RawImage r = sim::renderRadiograph(setup(kv, ma));
        uint16_t hi = 0;
        double belowDark = 0;
        for (int32_t y = 0; y < r.lHeight; ++y)
            for (int32_t x = 0; x < r.lWidth; ++x) {
                const uint16_t v = r.px[size_t(y) * r.lWidth + x];
                hi = std::max(hi, v);
                belowDark += v + 10 < r.rowDark[size_t(y)];
            }
        EXPECT_LE(hi, 4095);
        EXPECT_GT(hi, r.rowDark[0] + 100) << kv << " kV";
        EXPECT_LT(belowDark / double(r.px.size()), 0.01);
    }
}

TEST(Radiograph, HigherKvFlattensTheContrast)
{
    // The same patient at 60 and 80 kV: the harder beam shows the anatomy
    // with less spread of grey levels.
    const sim::RawImage soft = sim::renderRadiograph(setup(60, 8));
    const sim::RawImage hard = sim::renderRadiograph(setup(80, 8));
    const Stats s = stats(soft, 0, 0, soft.lWidth, soft.lHeight);
    const Stats h = stats(hard, 0, 0, hard.lWidth, hard.lHeight);
    EXPECT_GT(s.sd, h.sd * 1.2);
    EXPECT_GT(s.mean, h.mean);  // denser overall: brighter
}

TEST(Radiograph, LowerMaIsNoisierButNotDarker)
{
    const sim::RawImage lo = sim::renderRadiograph(setup(70, 2));
    const sim::RawImage hi = sim::renderRadiograph(setup(70, 8));
    // The soft tissue low in the neck, beside the spine's ghost.
    const Stats l = stats(lo, 200, 300, 300, 340);
    const Stats h = stats(hi, 200, 300, 300, 340);
    EXPECT_GT(l.noise, h.noise * 1.5);
    EXPECT_NEAR(l.mean, h.mean, 6.0);
    // In the raw counts the current scales the signal.
    double sl = 0, sh = 0;
    for (size_t i = 0; i < lo.px.size(); ++i) sl += lo.px[i], sh += hi.px[i];
    EXPECT_GT(sh, 2.5 * sl);
}

TEST(Radiograph, ACutImageIsBlankWhereTheXrayDidNotReach)
{
    sim::RadiographSetup s = setup(70, 4, 3, sim::Projection::Tmj, 4);
    s.taken.resize(2);
    s.taken[1].dFraction = 0.5;
    const sim::RawImage r = sim::renderRadiograph(s);
    ASSERT_EQ(r.lWidth, 2 * 181);
    // The view's unexposed half reads as no X-ray at all: white.
    const Stats cut = stats(r, 181 + 100, 0, 181 + 181, r.lHeight);
    const Stats lit = stats(r, 181 + 10, 0, 181 + 80, r.lHeight);
    EXPECT_GT(cut.mean, 250.0);
    EXPECT_LT(lit.mean, 200.0);
}

TEST(Radiograph, TheSweepDwellsLongerWhereTheFilmRunsSlower)
{
    sim::RadiographSetup even = setup(70, 4, 5);
    sim::RadiographSetup dip = even;
    dip.lSpeeds.assign(100, 600);
    for (size_t i = 40; i < 60; ++i) dip.lSpeeds[i] = 300;  // half speed over the middle fifth
    const sim::RawImage a = sim::renderRadiograph(even);
    const sim::RawImage b = sim::renderRadiograph(dip);
    auto column = [](const sim::RawImage& r, int32_t x) {
        double s = 0;
        for (int32_t y = 0; y < r.lHeight; ++y) s += r.px[size_t(y) * r.lWidth + x] - r.rowDark[size_t(y)];
        return s;
    };
    const int32_t mid = a.lWidth / 2, side = a.lWidth / 4;
    // Twice the dwell in the middle against the profile's mean: relative to
    // the sides the middle gets about twice the counts.
    const double ratio = (column(b, mid) / column(b, side)) / (column(a, mid) / column(a, side));
    EXPECT_NEAR(ratio, 2.0, 0.2);
}

}  // namespace
}  // namespace sensortest
