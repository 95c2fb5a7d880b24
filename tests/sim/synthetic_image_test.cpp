// A synthetic image is never passed for a patient's: the virtual sensor runs
// only where [ZyrPan2] chose it (a missing Link is an error, not the
// simulator), with the statuses and the explanations the operator reads; and
// every image it makes carries "SIMULATED - NOT FOR DIAGNOSIS" in the bitmap.
#include <gmock/gmock.h>

#include "app/messages.h"
#include "sim/film_data.h"
#include "sim/library.h"
#include "sim/virtual_sensor.h"
#include "tests/support/program_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using Opt = std::optional<std::string>;
using ::testing::HasSubstr;
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

// Faults: a new status explained as the generic communication error, or not
// at all in the start-up box; the neighbours -3 and -6 given an explanation.
TEST_F(ProgramTest, ConsoleExplainsWhatTheLibraryLacks) {
    for (int32_t code : {-3, -4, -5, -6}) vShowInitErr(nullptr, code);
    EXPECT_THAT(boxTexts(), ::testing::ElementsAre(HasSubstr("(-3)\r\nConfirm"), HasSubstr("(-4)\r\nNo Link setting: section [ZyrPan2]"),
                                                   HasSubstr("(-5)\r\nNo permission to open the serial device of the unit: add the user to the dialout group"),
                                                   HasSubstr("(-6)\r\nConfirm")));
    EXPECT_THAT(sCodeExplanation(sim::kNoSensorDriver), HasSubstr("This library has no driver for a real sensor."));
}

// The console's exposure command (kV, mA) and the ms of X-ray until the
// unit's "d0" (an image takes 3500).
class SimulationMark : public ProgramTest, public ::testing::WithParamInterface<std::pair<const char*, uint32_t>> {};

// Faults: no mark; a mark drawn into the processed picture, where the
// density window can grey it, or into one file only; a glyph missing or
// shared by two letters; one band only, or one that covers the picture.
TEST_P(SimulationMark, TopAndBottomBandsSpellTheMark) {
    sim::vResetLibrary();
    vSetKey("ImageBinning", "4", "ZyrPan2");
    vWriteSettings();
    const std::string ini = sIniPath(), film = sTempFolder() + "/NP.dat", dat = sTempFolder() + "/Z.DAT";
    zyrtest::writeBytes(film, sim::sFormatFilmData({"NP", sim::Projection::Panoramic, false, 3000, std::vector<int32_t>(400, 500)}));
    for (int32_t status : {ZyrWeq_Init(ini.c_str(), 1), ZyrWeq_SetSensMduInit(ini.c_str(), 1),
                           ZyrWeq_SetParamforPictEx(film.c_str(), 1, 10, 50), ZyrWeq_SetWaitXExpose()})
        ASSERT_EQ(status, 0);
    sim::theSensor().onConsoleCommand(GetParam().first);
    sim::theSensor().onUnitReport("X1");
    clock_.advance(GetParam().second);
    sim::theSensor().onUnitReport("d0");
    int32_t w = 0, h = 0;
    for (int32_t status : {ZyrWeq_GetImageDataEx(1), ZyrWeq_ImageProcessingEx(dat.c_str(), &w, &h),
                           ZyrWeq_SaveBitmap(dat.c_str(), w, h, 0, 0, (dat + ".bmp").c_str())})
        ASSERT_EQ(status, 0);
    const std::string b = zyrtest::readBytes(dat + ".bmp");
    std::vector<std::string> rows;  // top row first, from the rows of the bitmap (bottom first, padded)
    for (int32_t y = h - 1; y >= 0; --y) rows.push_back(b.substr(1078 + static_cast<size_t>((w + 3) / 4 * 4 * y), w));
    // The band: the rows from the top that are only black and white.
    size_t band = 0;
    while (band < rows.size() && rows[band].find_first_not_of(std::string("\0\xff", 2)) == std::string::npos) ++band;
    ASSERT_TRUE(band >= 7 && band <= rows.size() / 10) << band << " rows: no mark, or one that covers the picture";
    for (size_t y = 0; y < band; ++y) EXPECT_EQ(rows[y], rows[rows.size() - band + y]) << "bottom band, row " << y;
    // Letters are runs of columns with white; equal letters must look alike,
    // different ones not.
    std::vector<std::string> glyphs;
    for (int32_t x = 0, last = -1; x < w; ++x) {
        std::string col;
        for (size_t y = 0; y < band; ++y) col += rows[y][static_cast<size_t>(x)];
        if (col.find('\xff') == std::string::npos) continue;
        if (last != x - 1) glyphs.emplace_back();
        glyphs.back() += col;
        last = x;
    }
    const std::string letters = "SIMULATED-NOTFORDIAGNOSIS";
    ASSERT_GE(glyphs.size(), letters.size());
    for (size_t i = 0; i < letters.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            EXPECT_EQ(glyphs[i] == glyphs[j], letters[i] == letters[j]) << letters[i] << i << " vs " << letters[j] << j;
}

INSTANTIATE_TEST_SUITE_P(Techniques, SimulationMark,
                         ::testing::Values(std::pair{"NP_P1_A 60 2", 4000u}, std::pair{"NP_P1_A 80 8", 4000u},
                                           std::pair{"NP_P1_A 80 8", 1500u}));

}  // namespace
