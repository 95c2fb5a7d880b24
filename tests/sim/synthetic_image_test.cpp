// A synthetic image is never passed for a patient's: the virtual sensor runs
// only where [ZyrPan2] chose it (a missing Link is an error, not the
// simulator); and every image it makes carries "SIMULATED - NOT FOR
// DIAGNOSIS" all over the bitmap.
#include <gmock/gmock.h>

#include "sim/film_data.h"
#include "sim/library.h"
#include "sim/virtual_sensor.h"
#include "tests/support/program_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using Opt = std::optional<std::string>;
// Link, Sensor, the status of ZyrWeq_SetCommInit, whether the sensor's preparation succeeds.
class SensorChoice : public ProgramTest, public ::testing::WithParamInterface<std::tuple<Opt, Opt, int32_t, bool>> {};

// Faults: a missing Link taken for the simulator; the virtual sensor
// answering beside a real link; Sensor=sim ignored, matched as a prefix or
// case by case; a later sensor call (the image among them) not refused.
TEST_P(SensorChoice, RefusesEverySensorCallUnlessTheVirtualSensorWasChosen) {
    const auto& [link, sensor, lCommInit, booVirtual] = GetParam();
    sim::vResetLibrary();
    vSetKey("Link", link, "ZyrPan2");
    vSetKey("Sensor", sensor, "ZyrPan2");
    vWriteSettings();
    const std::string ini = sIniPath();
    ASSERT_EQ(ZyrWeq_Init(ini.c_str(), 1), 0);
    EXPECT_EQ(ZyrWeq_SetCommInit(), lCommInit);
    EXPECT_EQ(ZyrWeq_ResetAll(), 0) << "the console resets the sensor while it connects";
    EXPECT_EQ(ZyrWeq_SetSensMduInit(ini.c_str(), 1), booVirtual ? 0 : sim::kNoSensorDriver);
    uint8_t byt = 0;
    int32_t w = 0, h = 0;
    const std::vector<int32_t> later = {
        ZyrWeq_ResetAll(), ZyrWeq_SetParamforPictEx("/nonexistent/NP.dat", 1, 10, 50),
        ZyrWeq_SetWaitXExpose(), ZyrWeq_CheckPictStatus(&byt), ZyrWeq_GetImageDataEx(1),
        ZyrWeq_ImageProcessingEx("/nonexistent/Z.DAT", &w, &h), ZyrWeq_SaveBitmap("/nonexistent/Z.DAT", w, h, 0, 0, "z.bmp")};
    if (booVirtual) EXPECT_THAT(later, ::testing::Each(::testing::Ne(sim::kNoSensorDriver)));
    else EXPECT_THAT(later, ::testing::Each(sim::kNoSensorDriver));
}

const std::string kTcp = "tcp:127.0.0.1:1";
INSTANTIATE_TEST_SUITE_P(
    Settings, SensorChoice,
    ::testing::Values(std::tuple{Opt(), Opt(), -4, false}, std::tuple{Opt(""), Opt(), -4, false},
                      std::tuple{Opt("sim"), Opt(), 0, true}, std::tuple{Opt(kTcp), Opt(), -1, false},
                      std::tuple{Opt(kTcp), Opt("sim"), -1, true}, std::tuple{Opt(kTcp), Opt("simx"), -1, false},
                      std::tuple{Opt("serial:/nonexistent/ttyS9"), Opt("SIM"), -1, true}));

// The console's exposure command (kV, mA) and the ms of X-ray until the
// unit's "d0" (an image takes 3500).
class SimulationMark : public ProgramTest, public ::testing::WithParamInterface<std::pair<const char*, uint32_t>> {};
// A TMJ exposure read out after its first view: the narrowest image.
bool booTmj(const char* command) { return std::string(command).rfind("NP_T4", 0) == 0; }

// Faults: no mark; a mark drawn into the processed picture, where the
// density window can grey it, or into one file only; a part of the image
// that a crop or a zoom could keep without the mark; a mark so dense that
// the radiograph is lost; a glyph missing or shared by two letters.
TEST_P(SimulationMark, RepeatedOverTheWholeImage) {
    sim::vResetLibrary();
    vSetKey("ImageBinning", "4", "ZyrPan2");
    vWriteSettings();
    const std::string ini = sIniPath(), film = sTempFolder() + "/NP.dat", dat = sTempFolder() + "/Z.DAT";
    const bool tmj = booTmj(GetParam().first);
    zyrtest::writeBytes(film, sim::sFormatFilmData({"NP", tmj ? sim::Projection::Tmj : sim::Projection::Panoramic, false,
                                                    3000, std::vector<int32_t>(400, 500)}));
    for (int32_t status : {ZyrWeq_Init(ini.c_str(), 1), ZyrWeq_SetSensMduInit(ini.c_str(), 1),
                           ZyrWeq_SetParamforPictEx(film.c_str(), tmj ? 4 : 1, 10, 50), ZyrWeq_SetWaitXExpose()})
        ASSERT_EQ(status, 0);
    sim::theSensor().onConsoleCommand(GetParam().first);
    sim::theSensor().onUnitReport("X1");
    clock_.advance(GetParam().second);
    sim::theSensor().onUnitReport("d0");
    int32_t w = 0, h = 0;
    for (int32_t status : {ZyrWeq_GetImageDataEx(1), ZyrWeq_ImageProcessingEx(dat.c_str(), &w, &h),
                           ZyrWeq_SaveBitmap(dat.c_str(), w, h, 0, 0, (dat + ".bmp").c_str())})
        ASSERT_EQ(status, 0);
    ASSERT_EQ(w, tmj ? 181 : 725) << "the image the case is about";
    const std::string b = zyrtest::readBytes(dat + ".bmp");
    std::vector<std::string> rows;  // top row first, from the rows of the bitmap (bottom first, padded)
    for (int32_t y = h - 1; y >= 0; --y) rows.push_back(b.substr(1078 + static_cast<size_t>((w + 3) / 4 * 4 * y), w));
    auto px = [&](int32_t x, int32_t y) { return uint8_t(rows[size_t(y)][size_t(x)]); };
    // A mark pixel: white (a letter) beside black (its ring). Anatomy and
    // noise have no such edge.
    std::vector<int32_t> sum(size_t(w + 1) * (h + 1), 0);  // mark pixels above and left of (x, y)
    std::vector<std::string> letters(size_t(h), std::string(size_t(w), '.'));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            bool mark = false;
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx)
                    mark |= px(x, y) == 255 && x + dx >= 0 && x + dx < w && y + dy >= 0 && y + dy < h && px(x + dx, y + dy) == 0;
            if (mark) letters[size_t(y)][size_t(x)] = '#';
            sum[size_t(y + 1) * (w + 1) + x + 1] =
                mark + sum[size_t(y) * (w + 1) + x + 1] + sum[size_t(y + 1) * (w + 1) + x] - sum[size_t(y) * (w + 1) + x];
        }
    // Every crop of a quarter of the width and of the height, wherever it lies.
    const int32_t cw = w / 4, ch = h / 4;
    for (int32_t y = 0; y + ch <= h; ++y)
        for (int32_t x = 0; x + cw <= w; ++x) {
            auto at = [&](int32_t xx, int32_t yy) { return sum[size_t(yy) * (w + 1) + xx]; };
            ASSERT_GT(at(x + cw, y + ch) - at(x, y + ch) - at(x + cw, y) + at(x, y), 0) << "no mark in the crop at " << x << "," << y;
        }
    const auto clear = std::count_if(letters.begin(), letters.end(), [](const std::string& r) { return r.find('#') == std::string::npos; });
    EXPECT_GT(clear, h * 3 / 4) << "rows of the radiograph without the mark";
    // The first rows with letters, cut into glyphs (runs of columns with a
    // letter pixel); equal letters must look alike, different ones not,
    // somewhere along the row.
    int32_t top = 0;
    while (top < h && letters[size_t(top)].find('#') == std::string::npos) ++top;
    int32_t bottom = top;
    while (bottom < h && letters[size_t(bottom)].find('#') != std::string::npos) ++bottom;
    std::vector<std::string> glyphs;
    for (int32_t x = 0, last = -2; x < w; ++x) {
        std::string col;
        for (int32_t y = top; y < bottom; ++y) col += letters[size_t(y)][size_t(x)];
        if (col.find('#') == std::string::npos) continue;
        if (last != x - 1) glyphs.emplace_back();
        glyphs.back() += col;
        last = x;
    }
    // (A single TMJ view is narrower than a copy of the text: its last letter falls off.)
    const std::string text = tmj ? "SIMULATED-NOTFORDIAGNOSI" : "SIMULATED-NOTFORDIAGNOSIS";
    bool spelt = false;
    for (size_t at = 0; at + text.size() <= glyphs.size() && !spelt; ++at) {
        spelt = true;
        for (size_t i = 0; i < text.size(); ++i)
            for (size_t j = 0; j < i; ++j)
                spelt &= (glyphs[at + i] == glyphs[at + j]) == (text[i] == text[j]);
    }
    EXPECT_TRUE(spelt) << glyphs.size() << " glyphs in rows " << top << ".." << bottom;
}

INSTANTIATE_TEST_SUITE_P(Techniques, SimulationMark,
                         ::testing::Values(std::pair{"NP_P1_A 60 2", 4000u}, std::pair{"NP_P1_A 80 8", 4000u},
                                           std::pair{"NP_P1_A 80 8", 1500u}, std::pair{"NP_T4 70 4", 4000u}));

}  // namespace
