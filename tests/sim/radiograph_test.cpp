// The synthetic radiograph: the same seed draws the same pixels, and kV, mA
// and a cut X-ray change what a radiographer expects.
#include <cmath>
#include <numeric>

#include "sim/image_processing.h"
#include "sim/radiograph.h"
#include "tests/sim/sim_fixture.h"

namespace {

sim::RawImage draw(int32_t kv, int32_t ma, uint32_t seed = 7, sim::Projection p = sim::Projection::Panoramic,
                   int32_t views = 1, double cut = 1.0) {
    sim::RadiographSetup s;
    s.eProjection = p;
    s.lViews = views;
    for (int32_t i = 0; i < views; ++i) s.taken.push_back({kv, ma, i == views - 1 ? cut : 1.0});
    s.lBinning = 4;
    s.lSeed = seed;
    return sim::renderRadiograph(s);
}

// Mean, spread and pixel-to-pixel noise of the processed image over a box.
struct Stats {
    double mean = 0, sd = 0, noise = 0;
};
Stats stats(const sim::RawImage& raw, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const std::vector<uint8_t> img = sim::processedTopDown(raw);
    double s = 0, s2 = 0, n2 = 0, n = 0;
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0 + 1; x < x1 - 1; ++x) {
            const auto at = [&](int32_t dx) { return double(img[size_t(y) * raw.lWidth + x + dx]); };
            s += at(0);
            s2 += at(0) * at(0);
            n2 += std::pow(at(0) - 0.5 * (at(-1) + at(1)), 2);  // what differs from the neighbours' mean
            ++n;
        }
    return {s / n, std::sqrt(s2 / n - s * s / n / n), std::sqrt(n2 / n)};
}

// Faults: the seed not used or not kept (another patient each time, or the
// same whatever the seed), a size of a mode wrong, counts beyond 12 bits.
TEST(Radiograph, SeededSizedAndTwelveBit) {
    const sim::RawImage a = draw(70, 4, 11), b = draw(70, 4, 11), c = draw(70, 4, 12);
    EXPECT_EQ(a.px, b.px);
    EXPECT_EQ(a.rowDark, b.rowDark);
    ASSERT_EQ(a.px.size(), c.px.size());
    EXPECT_GT(std::inner_product(a.px.begin(), a.px.end(), c.px.begin(), size_t(0), std::plus<>(), std::not_equal_to<>()),
              a.px.size() / 2);
    EXPECT_EQ(std::make_pair(a.lWidth, a.lHeight), std::make_pair(725, 350));
    const sim::RawImage tmj = draw(70, 4, 1, sim::Projection::Tmj, 4);
    EXPECT_EQ(std::make_tuple(tmj.lWidth, tmj.lHeight, tmj.lPixelsPerMetre), std::make_tuple(724, 350, 2500));
    sim::RadiographSetup full;
    EXPECT_EQ(sim::lViewWidth(full), 2900);
    full.lViews = 2;
    EXPECT_EQ(sim::lViewWidth(full), 1450);
    full.eProjection = sim::Projection::Tmj;
    full.lViews = 4;
    EXPECT_EQ(sim::lViewWidth(full), 725);
    const sim::RawImage hot = draw(80, 8);
    EXPECT_LE(*std::max_element(hot.px.begin(), hot.px.end()), 4095);
    EXPECT_GT(*std::max_element(hot.px.begin(), hot.px.end()), hot.rowDark[0] + 1000);
}

// Faults: kV, mA or a cut X-ray ignored or turned round.
TEST(Radiograph, KvMaAndACutXrayShowAsExpected) {
    const Stats soft = stats(draw(60, 8), 0, 0, 725, 350), hard = stats(draw(80, 8), 0, 0, 725, 350);
    EXPECT_GT(soft.sd, hard.sd * 1.2) << "a harder beam flattens the contrast";
    EXPECT_GT(soft.mean, hard.mean) << "and leaves the anatomy less dense";
    const Stats lo = stats(draw(70, 2), 200, 300, 300, 340), hi = stats(draw(70, 8), 200, 300, 300, 340);
    EXPECT_GT(lo.noise, hi.noise * 1.5) << "less current, more noise";
    EXPECT_NEAR(lo.mean, hi.mean, 6.0) << "but not a darker picture";
    const sim::RawImage cut = draw(70, 4, 3, sim::Projection::Tmj, 2, 0.5);
    EXPECT_GT(stats(cut, 181 + 100, 0, 362, 350).mean, 250.0) << "white where the X-ray did not reach";
    EXPECT_LT(stats(cut, 181 + 10, 0, 181 + 80, 350).mean, 200.0);
}

}  // namespace
