// The virtual sensor's images: the read-out of the images taken (a view cut
// short, the kV of each TMJ half), ZYR_PAN_WEQ.DAT, the bitmap's bytes and
// its save, the burned-in "SIMULATED - NOT FOR DIAGNOSIS" all over every
// image, and the radiograph drawn: the same seed draws the same pixels, in
// the sizes of each mode, with the current and the film's speeds showing.
#include <signal.h>
#include <sys/resource.h>

#include <numeric>

#include "sim/image_dat.h"
#include "sim/radiograph.h"
#include "sim/virtual_sensor.h"
#include "tests/sim/sim_fixture.h"

namespace {

using namespace simtest;
using P = sim::Projection;

class SensorImage : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        lib_.Init(sIni("").c_str(), 1);  // the simulator chosen before any sensor call
    }
    // The sensor waits for n images at binning 4: each a second of X-ray,
    // the first right at the unit's "X1", a second apart.
    void vArm(int32_t n, P p) {
        ASSERT_EQ(lib_.SetSensMduInit(sIni("XrayDelay=0\nXrayOn=1000\nXrayGap=1000\nImageBinning=4").c_str(), 1), 0);
        ASSERT_EQ(lib_.SetParamforPictEx(sFilm(3000, 400, p).c_str(), n, 10, 50), 0);
        ASSERT_EQ(lib_.SetWaitXExpose(), 0);
    }
    // The console's exposure command, the unit's "X1", then ms of time.
    void vBurst(const char* command, uint32_t ms) {
        sim::theSensor().onConsoleCommand(command);
        sim::theSensor().onUnitReport("X1");
        clock_.advance(ms);
    }
    // An exposure of n images of which `ended` had ended when the retrieval
    // began; a second TMJ half may have a command of its own.
    void vExpose(int32_t n, int32_t ended, P p, const char* command = "NP_P1_C 70 4", const char* second = nullptr) {
        vArm(n, p);
        for (int32_t done = 0, k = 0; done < ended; done += k) {
            if (done > 0) clock_.advance(5000);  // between the TMJ halves
            k = std::min(n == 4 ? 2 : n, ended - done);
            vBurst(done > 0 && second != nullptr ? second : command, uint32_t(k * 2000 - 1000 + 1));  // just past image k
        }
        EXPECT_EQ(ended > 0 ? lib_.ResetAll() : 0, 0);  // the retrieval begins
    }
    int32_t lProcess() { return lib_.ImageProcessingEx(dat_.c_str(), &w_, &h_); }
    // The typical pixel of the processed picture over columns x0 .. x1 - 1:
    // the median, which the simulation mark's sparse letters do not move.
    double datMedian(int32_t x0, int32_t x1) const {
        const std::string b = zyrtest::readBytes(dat_);
        std::vector<uint8_t> v;
        for (int32_t y = 0; y < h_; ++y)
            for (int32_t x = x0; x < x1; ++x) v.push_back(uint8_t(b[80 + size_t(y) * ((w_ + 3) & ~3) + x]));
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    }
    int32_t lSave(const std::string& bmp, int32_t w, int32_t h) { return lib_.SaveBitmap(dat_.c_str(), w, h, 0, 0, bmp.c_str()); }
    // A data file of a pattern whose pixel value tells its place (y = 0 the top row).
    static uint8_t pattern(int32_t x, int32_t y) { return static_cast<uint8_t>(7 * x + 31 * y + 1); }
    void vPattern(int32_t w, int32_t h) {
        const int32_t stride = (w + 3) & ~3;
        const sim::DatHeader d{.lWidth = w, .lHeight = h, .lStride = stride, .lViews = 1, .lPixelsPerMetre = 10000,
                               .lPixelBytes = stride * h};
        ASSERT_TRUE(sim::booWriteDat(dat_, d, [&](int32_t y, uint8_t* dst) {
            for (int32_t x = 0; x < w; ++x) dst[x] = pattern(x, y);
        }));
    }

    std::string dat_ = dir_.file("ZYR_PAN_WEQ.DAT");
    int32_t w_ = 0, h_ = 0;
};

// Faults: a count off by one either way, a cut image not counted, the width
// of a mode or of a part of it wrong, the data lost on release.
TEST_F(SensorImage, TheImagesTakenSoFarMakeThePicture) {
    const struct { const char* name; P p; int32_t n, ended, asked, status, width; } cases[] = {
        {"panorama", P::Panoramic, 1, 1, 1, 0, 725},       {"panorama, none ended", P::Panoramic, 1, 0, 1, 18, 0},
        {"two halves", P::Panoramic, 2, 2, 2, 0, 724},     {"one half of two", P::Panoramic, 2, 1, 1, 0, 362},
        {"more than taken", P::Panoramic, 2, 1, 2, 18, 0}, {"TMJ four", P::Tmj, 4, 4, 4, 0, 724},
        {"TMJ first half", P::Tmj, 4, 2, 2, 0, 362},       {"TMJ three", P::Tmj, 4, 3, 3, 0, 543},
        {"TMJ none asked", P::Tmj, 4, 4, 0, 18, 0}};
    for (const auto& c : cases) {
        vExpose(c.n, c.ended, c.p);
        ASSERT_EQ(lib_.GetImageDataEx(c.asked), c.status) << c.name;
        if (c.status != 0) continue;
        ASSERT_EQ(lib_.SetDeviceFree() + lProcess(), 0) << c.name;
        EXPECT_EQ(std::pair(w_, h_), std::pair(c.width, 350)) << c.name;
    }
}

// Faults: a header field, the palette, the row order or the padding of the
// bitmap wrong, at widths on both sides of a multiple of 4.
TEST_F(SensorImage, BitmapBytes) {
    for (const auto& [w, h] : {std::pair{1, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 2}, {8, 1}}) {
        vPattern(w, h);
        ASSERT_EQ(lSave(dir_.file("x.bmp"), w, h), 0);
        const std::string b = zyrtest::readBytes(dir_.file("x.bmp"));
        const uint32_t stride = (w + 3) / 4 * 4;
        ASSERT_EQ(b.size(), 1078 + stride * h) << w;
        EXPECT_EQ(b.substr(0, 2), "BM");
        const std::pair<size_t, uint32_t> fields[] = {{2, uint32_t(b.size())}, {6, 0}, {10, 1078}, {14, 40},
                                                      {18, uint32_t(w)}, {22, uint32_t(h)}, {26, 1 | 8 << 16},
                                                      {30, 0}, {34, stride * h}, {38, 10000}, {42, 10000},
                                                      {46, 256}, {50, 256}};
        for (const auto& [off, value] : fields) EXPECT_EQ(u32(b, off), value) << w << "x" << h << " offset " << off;
        for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(u32(b, 54 + 4 * i), i | i << 8 | i << 16) << "palette " << i;
        for (int32_t r = 0; r < h; ++r) {  // the file's first row is the image's bottom row
            const size_t row = 1078 + size_t(r) * stride;
            for (int32_t x = 0; x < w; ++x) ASSERT_EQ(uint8_t(b[row + x]), pattern(x, h - 1 - r)) << w << ": " << x << "," << r;
            ASSERT_EQ(b.substr(row + w, stride - w), std::string(stride - w, '\0')) << w << ": padding of row " << r;
        }
    }
}

// Faults: the bitmap written in place (a reader meets half an image), a
// temporary file left behind, the old image lost when the write fails, a
// relative name not taken from the current folder.
TEST_F(SensorImage, TheBitmapReplacesTheOldOneWholeOrNotAtAll) {
    vPattern(200, 100);
    const std::string bmp = dir_.file("image.bmp");
    const Texts files = {"ZYR_PAN_WEQ.DAT", "ZYR_PAN_WEQ.ini", "image.bmp"};
    zyrtest::writeBytes(bmp, "BM old image");
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const rlimit small{4096, old.rlim_max};  // the file system refuses the write half-way; it binds root too
    const sighandler_t prev = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int32_t failed = lSave(bmp, 200, 100);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, prev);
    EXPECT_EQ(failed, -93);
    EXPECT_EQ(zyrtest::readBytes(bmp), "BM old image");
    EXPECT_EQ(names(dir_.path()), files);
    ASSERT_EQ(lSave(bmp, 200, 100), 0);
    EXPECT_EQ(zyrtest::readBytes(bmp).size(), 1078u + 200 * 100);
    EXPECT_EQ(names(dir_.path()), files);

    const auto cwd = std::filesystem::current_path();
    std::filesystem::create_directories(dir_.file("cwd/sub"));
    std::filesystem::current_path(dir_.file("cwd"));
    EXPECT_EQ(lSave("plain.bmp", 200, 100) + lSave("sub/nested.bmp", 200, 100), 0);
    std::filesystem::current_path(cwd);
    EXPECT_EQ(names(dir_.file("cwd")), (Texts{"plain.bmp", "sub"})) << "relative to the current folder";
    EXPECT_EQ(names(dir_.file("cwd/sub")), Texts{"nested.bmp"});
}

// Faults: a status of the retrieval wrong, a damaged data file turned into a
// bitmap, the data read lost on release, a released sensor read out.
TEST_F(SensorImage, RetrievalStatuses) {
    EXPECT_EQ(lib_.SetSensMduInit(sIni("").c_str(), 1), 0);
    EXPECT_EQ(lib_.GetImageDataEx(1), 9) << "no parameters";
    EXPECT_EQ(lProcess(), 18) << "nothing read";
    EXPECT_EQ(lib_.ImageProcessingEx("", &w_, &h_), -97);
    vExpose(1, 1, P::Panoramic);
    ASSERT_EQ(lib_.GetImageDataEx(1), 0);
    EXPECT_EQ(lib_.ImageProcessingEx(dir_.file("no/such/x.DAT").c_str(), &w_, &h_), -96);
    ASSERT_EQ(lib_.SetDeviceFree(), 0);
    ASSERT_EQ(lProcess(), 0) << "what was read stays after the release";
    EXPECT_EQ(lib_.GetImageDataEx(1), 9) << "released";
    const std::string bmp = dir_.file("x.bmp"), good = zyrtest::readBytes(dat_);
    EXPECT_EQ(lSave(bmp, w_ + 1, h_), -97);
    EXPECT_EQ(lSave(bmp, w_, h_ - 1), -97);
    EXPECT_EQ(lSave("", w_, h_), -97);
    EXPECT_EQ(lSave(dir_.file("no/such/x.bmp"), w_, h_), -93);
    EXPECT_EQ(lSave(dir_.path(), w_, h_), -93) << "a folder of that name";
    const std::pair<size_t, char> damage[] = {{3, 'X'}, {16, 1}, {20, 16}, {64, 0}};  // magic, stride, bits, bytes
    for (const auto& [off, byte] : damage) {
        std::string bad = good;
        bad[off] = byte;
        zyrtest::writeBytes(dat_, bad);
        EXPECT_EQ(lSave(bmp, w_, h_), -94) << "damaged at " << off;
    }
    const sim::DatHeader wide{.lWidth = 5, .lHeight = 2, .lStride = 12, .lViews = 1, .lPixelsPerMetre = 10000,
                              .lPixelBytes = 24};  // whole in itself, but its rows are not the bitmap's
    ASSERT_TRUE(sim::booWriteDat(dat_, wide, [](int32_t, uint8_t*) {}));
    EXPECT_EQ(lSave(bmp, 5, 2), -94) << "a stride other than the width rounded up to 4";
    zyrtest::writeBytes(dat_, good.substr(0, good.size() - 1));
    EXPECT_EQ(lSave(bmp, w_, h_), -94) << "one byte short";
    std::filesystem::remove(dat_);
    EXPECT_EQ(lSave(bmp, w_, h_), -94) << "no data file";
    EXPECT_FALSE(zyrtest::exists(bmp));
    zyrtest::writeBytes(dat_, good);
    EXPECT_EQ(lSave(bmp, w_, h_), 0);
}

// Faults: a header field of the data file wrong, the second TMJ half drawn
// with the first half's kV and mA.
TEST_F(SensorImage, DataFileOfATmjExposureWhoseHalvesDiffer) {
    vExpose(4, 4, P::Tmj, "NP_T4 80 8", "NP_T4 60 2");
    ASSERT_EQ(lib_.GetImageDataEx(4) + lProcess(), 0);
    const std::string b = zyrtest::readBytes(dat_);
    ASSERT_EQ(b.size(), 80u + 724 * 350);
    EXPECT_EQ(b.substr(0, 8), "ZYRPDAT1");
    const std::pair<size_t, uint32_t> fields[] = {{8, 724},  {12, 350}, {16, 724},  {20, 8},          {24, 4},
                                                  {28, 1},   {32, 80},  {36, 8},    {44, 200},        {48, 2300},
                                                  {52, 850}, {56, 1},   {60, 2500}, {64, 724u * 350}, {68, 4},
                                                  {72, 0},   {76, 0}};
    for (const auto& [off, value] : fields) EXPECT_EQ(u32(b, off), value) << "offset " << off;
    EXPECT_GT(u32(b, 40), 0u) << "open-field counts";
    EXPECT_GT(datMedian(3 * 181, 4 * 181), datMedian(0, 181) + 10) << "at 60 kV the same anatomy is denser, hence brighter";
}

// Fault: a view cut short drawn as if the X-ray had swept all of it.
TEST_F(SensorImage, AViewCutShortIsWhiteWhereTheXrayDidNotReach) {
    vArm(1, P::Panoramic);
    vBurst("NP_P1_C 70 4", 500);
    sim::theSensor().onUnitReport("d0");  // half-way through the sweep
    ASSERT_EQ(lib_.GetImageDataEx(1) + lProcess(), 0);
    EXPECT_GT(datMedian(400, 720), 250.0);
    EXPECT_LT(datMedian(50, 300), 200.0);
}

// The console's exposure command and the ms of X-ray until the unit's "d0"
// (an image takes 1000).
class SimulationMark : public SensorImage, public ::testing::WithParamInterface<std::pair<const char*, uint32_t>> {};

// Faults: no mark; a mark drawn into the processed picture, where the
// density window can grey it, or into one file only; a part of the image
// that a crop or a zoom could keep without the mark; a mark so dense that
// the radiograph is lost; a glyph missing or shared by two letters.
TEST_P(SimulationMark, RepeatedOverTheWholeImage) {
    const auto& [command, ms] = GetParam();
    const bool tmj = std::string(command).rfind("NP_T4", 0) == 0;  // read out after its first view: the narrowest image
    vArm(tmj ? 4 : 1, tmj ? P::Tmj : P::Panoramic);
    vBurst(command, ms);
    sim::theSensor().onUnitReport("d0");
    const std::string bmp = dir_.file("mark.bmp");
    for (int32_t status : {lib_.GetImageDataEx(1), lProcess(), lSave(bmp, w_, h_)}) ASSERT_EQ(status, 0);
    ASSERT_EQ(w_, tmj ? 181 : 725) << "the image the case is about";
    const std::string b = zyrtest::readBytes(bmp);
    const int32_t w = w_, h = h_;
    auto px = [&](int32_t x, int32_t y) {  // y = 0 the top row; the bitmap's rows come bottom first, padded
        return x < 0 || y < 0 || x >= w || y >= h ? -1 : uint8_t(b[1078 + size_t((w + 3) / 4 * 4) * (h - 1 - y) + x]);
    };
    // A mark pixel: white (a letter) beside black (its ring). Anatomy and
    // noise have no such edge.
    Texts letters(size_t(h), std::string(size_t(w), '.'));
    std::vector<int32_t> sum(size_t(w + 1) * (h + 1), 0);  // mark pixels above and left of (x, y)
    auto at = [&](int32_t x, int32_t y) -> int32_t& { return sum[size_t(y) * (w + 1) + x]; };
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            bool mark = false;
            for (int32_t d = 0; d < 9; ++d) mark |= px(x, y) == 255 && px(x + d % 3 - 1, y + d / 3 - 1) == 0;
            if (mark) letters[size_t(y)][size_t(x)] = '#';
            at(x + 1, y + 1) = mark + at(x + 1, y) + at(x, y + 1) - at(x, y);
        }
    // Every crop of a quarter of the width and of the height, wherever it lies.
    for (int32_t y = 0, cw = w / 4, ch = h / 4; y + ch <= h; ++y)
        for (int32_t x = 0; x + cw <= w; ++x)
            ASSERT_GT(at(x + cw, y + ch) - at(x, y + ch) - at(x + cw, y) + at(x, y), 0) << "no mark in the crop at " << x << "," << y;
    auto inked = [](const std::string& r) { return r.find('#') != std::string::npos; };
    EXPECT_GT(std::count_if(letters.begin(), letters.end(), [&](const auto& r) { return !inked(r); }), h * 3 / 4)
        << "rows of the radiograph without the mark";
    // The first rows with letters, cut into glyphs (runs of columns with a
    // letter pixel); equal letters must look alike, different ones not,
    // somewhere along the row.
    const auto top = std::find_if(letters.begin(), letters.end(), inked), bottom = std::find_if_not(top, letters.end(), inked);
    Texts glyphs;
    for (int32_t x = 0, last = -2; x < w; ++x) {
        std::string col;
        for (auto row = top; row != bottom; ++row) col += (*row)[size_t(x)];
        if (!inked(col)) continue;
        if (last != x - 1) glyphs.emplace_back();
        glyphs.back() += col;
        last = x;
    }
    // (A single TMJ view is narrower than a copy of the text: its last letter falls off.)
    const std::string text = tmj ? "SIMULATED-NOTFORDIAGNOSI" : "SIMULATED-NOTFORDIAGNOSIS";
    bool spelt = false;
    for (size_t k = 0; k + text.size() <= glyphs.size() && !spelt; ++k) {
        spelt = true;
        for (size_t i = 0; i < text.size(); ++i)
            for (size_t j = 0; j < i; ++j) spelt &= (glyphs[k + i] == glyphs[k + j]) == (text[i] == text[j]);
    }
    EXPECT_TRUE(spelt) << glyphs.size() << " glyphs in rows " << top - letters.begin() << ".." << bottom - letters.begin();
}

INSTANTIATE_TEST_SUITE_P(Techniques, SimulationMark,
                         ::testing::Values(std::pair{"NP_P1_A 60 2", 1500u}, std::pair{"NP_P1_A 80 8", 1500u},
                                           std::pair{"NP_P1_A 80 8", 334u}, std::pair{"NP_T4 70 4", 1500u}));

// The radiograph of one panoramic image at binning 4.
sim::RawImage draw(int32_t kv, int32_t ma, uint32_t seed = 7, const std::vector<int32_t>& speeds = {}) {
    return sim::renderRadiograph({.taken = {{kv, ma, 1.0}}, .lBinning = 4, .lSeed = seed, .lSpeeds = speeds});
}

// Faults: the seed not used or not kept (another patient each time, or the
// same whatever the seed), counts beyond 12 bits.
TEST(Radiograph, SeededSizedAndTwelveBit) {
    const sim::RawImage a = draw(70, 4, 11), b = draw(70, 4, 11), c = draw(70, 4, 12);
    EXPECT_EQ(a.px, b.px);
    EXPECT_EQ(a.rowDark, b.rowDark);
    ASSERT_EQ(a.px.size(), c.px.size());
    EXPECT_GT(std::inner_product(a.px.begin(), a.px.end(), c.px.begin(), size_t(0), std::plus<>(), std::not_equal_to<>()),
              a.px.size() / 2);
    const sim::RawImage hot = draw(80, 8);
    EXPECT_LE(*std::max_element(hot.px.begin(), hot.px.end()), 4095);
    EXPECT_GT(*std::max_element(hot.px.begin(), hot.px.end()), hot.rowDark[0] + 1000);
}

// Faults: the current or the film's speeds ignored (kV and a cut view show
// in the sensor's tests).
TEST(Radiograph, TheCurrentAndTheFilmsSpeedsScaleTheCounts) {
    const sim::RawImage lo = draw(70, 2), hi = draw(70, 8);
    EXPECT_GT(std::accumulate(hi.px.begin(), hi.px.end(), 0.0), 2.5 * std::accumulate(lo.px.begin(), lo.px.end(), 0.0));
    std::vector<int32_t> dip(100, 600);
    std::fill(dip.begin() + 40, dip.begin() + 60, 300);  // half speed over the middle fifth: 1.8 times the mean dwell
    const sim::RawImage even = draw(70, 4), slow = draw(70, 4, 7, dip);
    double s = 0, e = 0;  // counts above dark in the middle column
    for (size_t y = 0; y < 350; ++y) {
        s += slow.px[y * 725 + 362] - slow.rowDark[y];
        e += even.px[y * 725 + 362] - even.rowDark[y];
    }
    EXPECT_NEAR(s / e, 1.8, 0.15) << "the sweep dwells longer where the film runs slower";
}

}  // namespace
