// The exposure parameters: the film speed data file is read and checked,
// and each kind of bad file gives its own status.
#include <sys/stat.h>

#include "tests/sim/sensor_support.h"

namespace sensortest {
namespace {

const char* const kGoodHead = "ZYRFILM 1\nname NP_X\nprojection panoramic\npatient adult\n";

std::string speeds(size_t n, int32_t v)
{
    std::string s = "speed";
    for (size_t i = 0; i < n; ++i) s += " " + std::to_string(v);
    return s + "\n";
}

struct FilmCase {
    const char* name;
    std::string text;
    int32_t lTimeStep;
    int32_t lTimeLag;
    int32_t lStatus;
};

std::ostream& operator<<(std::ostream& o, const FilmCase& c) { return o << c.name; }

class FilmFileTest : public SensorFixture, public ::testing::WithParamInterface<FilmCase> {};

TEST_P(FilmFileTest, SetParamReportsTheFilesStatus)
{
    const FilmCase& c = GetParam();
    vInit();
    const std::string path = dir + "/film.dat";
    vWriteFile(path, c.text);
    EXPECT_EQ(sensor.setParam(path.c_str(), 1, c.lTimeStep, c.lTimeLag), c.lStatus);
    // Only an accepted film lets the sensor wait for the X-ray.
    EXPECT_EQ(sensor.waitXExpose(), c.lStatus == 0 ? 0 : 9);
}

const std::string kHead = kGoodHead;
INSTANTIATE_TEST_SUITE_P(
    Files, FilmFileTest,
    ::testing::Values(
        FilmCase{"good", kHead + "exposure 3000\n" + speeds(400, 500), 10, 50, 0},
        FilmCase{"good_crlf_comments", "# c\r\nZYRFILM 1 # v\r\nname A\r\nprojection tmj\r\npatient child\r\n"
                                       "exposure 500\r\n" + speeds(60, 50),
                 10, 50, 0},
        FilmCase{"speeds_on_many_lines", kHead + "exposure 3000\n" + speeds(200, 500) + speeds(200, 3000), 10, 50, 0},
        FilmCase{"empty_file", "", 10, 50, 10},
        FilmCase{"no_magic", "name A\n", 10, 50, 10},
        FilmCase{"wrong_version", "ZYRFILM 2\n", 10, 50, 10},
        FilmCase{"unknown_key", kHead + "exposure 3000\nshape round\n" + speeds(400, 500), 10, 50, 10},
        FilmCase{"speed_not_a_number", kHead + "exposure 3000\n" + "speed 500 5x0\n", 10, 50, 10},
        FilmCase{"speed_fraction", kHead + "exposure 3000\n" + "speed 500.5\n", 10, 50, 10},
        FilmCase{"exposure_missing", kHead + speeds(400, 500), 10, 50, 10},
        FilmCase{"exposure_twice", kHead + "exposure 3000\nexposure 3000\n" + speeds(400, 500), 10, 50, 10},
        FilmCase{"no_speeds", kHead + "exposure 3000\n", 10, 50, 10},
        FilmCase{"bad_projection", "ZYRFILM 1\nname A\nprojection ceph\npatient adult\nexposure 3000\n" + speeds(400, 500),
                 10, 50, 10},
        FilmCase{"exposure_overflows", kHead + "exposure 99999999999\n" + speeds(400, 500), 10, 50, 10},
        FilmCase{"exposure_too_short", kHead + "exposure 499\n" + speeds(400, 500), 10, 50, 11},
        FilmCase{"exposure_too_long", kHead + "exposure 20001\n" + speeds(2100, 500), 10, 0, 11},
        FilmCase{"speed_too_slow", kHead + "exposure 3000\n" + speeds(399, 500) + speeds(1, 49), 10, 50, 11},
        FilmCase{"speed_too_fast", kHead + "exposure 3000\n" + speeds(1, 3001) + speeds(399, 500), 10, 50, 11},
        // 300 steps of 10 ms do not cover 3000 ms and the lag; at 20 ms they do.
        FilmCase{"profile_short_of_exposure", kHead + "exposure 3000\n" + speeds(299, 500), 10, 0, 11},
        FilmCase{"profile_longer_steps", kHead + "exposure 3000\n" + speeds(299, 500), 20, 50, 0},
        FilmCase{"profile_short_of_lag", kHead + "exposure 3000\n" + speeds(304, 500), 10, 50, 12},
        FilmCase{"profile_covers_lag", kHead + "exposure 3000\n" + speeds(305, 500), 10, 50, 0},
        FilmCase{"window_with_lag", kHead + "exposure 19990\n" + speeds(2100, 500), 10, 11, 12},
        FilmCase{"window_full", kHead + "exposure 19990\n" + speeds(2100, 500), 10, 10, 0}),
    [](const ::testing::TestParamInfo<FilmCase>& i) { return std::string(i.param.name); });

TEST_F(SensorFixture, MissingFilmFileIsAReadingError)
{
    vInit();
    EXPECT_EQ(sensor.setParam((dir + "/FILM/NP_P1_A.dat").c_str(), 1, 10, 50), -99);
}

TEST_F(SensorFixture, FolderInPlaceOfTheFilmFileIsAReadingError)
{
    vInit();
    const std::string path = dir + "/NP_P1_A.dat";
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    EXPECT_EQ(sensor.setParam(path.c_str(), 1, 10, 50), -99);
}

TEST_F(SensorFixture, ParametersTheSensorCannotTakeAreRefused)
{
    vInit();
    const std::string path = sFilm(film());
    for (int32_t count : {0, 3, 5, -1}) EXPECT_EQ(sensor.setParam(path.c_str(), count, 10, 50), 3) << count;
    EXPECT_EQ(sensor.setParam(path.c_str(), 1, 0, 50), 3);
    EXPECT_EQ(sensor.setParam(path.c_str(), 1, 10, -1), 3);
    EXPECT_EQ(sensor.setParam(nullptr, 1, 10, 50), 3);
    for (int32_t count : {1, 2, 4}) EXPECT_EQ(sensor.setParam(path.c_str(), count, 10, 50), 0) << count;
}

TEST_F(SensorFixture, ParametersBeforeTheModuleIsInitialisedAreRefused)
{
    const std::string path = sFilm(film());
    EXPECT_EQ(sensor.setParam(path.c_str(), 1, 10, 50), 9);
    EXPECT_EQ(sensor.waitXExpose(), 9);
}

TEST(FilmFormat, WhatTheGeneratorWritesReadsBackTheSame)
{
    const sim::FilmData f{"NP_T4", sim::Projection::Tmj, true, 2500, {50, 3000, 777, 1200, 64}};
    sim::FilmData back;
    // 5 steps of 600 ms cover 2500 ms of X-ray and 500 ms of lag.
    ASSERT_EQ(sim::lParseFilmData(sim::sFormatFilmData(f), 600, 500, back), 0);
    EXPECT_EQ(back.sName, f.sName);
    EXPECT_EQ(back.eProjection, f.eProjection);
    EXPECT_EQ(back.booChild, f.booChild);
    EXPECT_EQ(back.lExposureMs, f.lExposureMs);
    EXPECT_EQ(back.lSpeeds, f.lSpeeds);
}

TEST(FilmFormat, StagedFilmsSuitTheDefaultSettings)
{
    const char* stage = std::getenv("ZYR_STAGE_DIR");
    if (stage == nullptr) GTEST_SKIP() << "ZYR_STAGE_DIR not set (run through ctest)";
    const struct {
        const char* name;
        sim::Projection proj;
        bool child;
    } films[] = {{"NP_P1_A", sim::Projection::Panoramic, false},
                 {"NP_P1_C", sim::Projection::Panoramic, true},
                 {"NP_T4", sim::Projection::Tmj, false}};
    for (const auto& f : films) {
        sim::FilmData d;
        ASSERT_EQ(sim::lReadFilmData(std::string(stage) + "/FILM/" + f.name + ".dat", 10, 50, d), 0) << f.name;
        EXPECT_EQ(d.sName, f.name);
        EXPECT_EQ(d.eProjection, f.proj);
        EXPECT_EQ(d.booChild, f.child);
        // Halving TimeStep leaves the profile short of the X-ray.
        EXPECT_EQ(sim::lReadFilmData(std::string(stage) + "/FILM/" + f.name + ".dat", 5, 50, d), 11) << f.name;
    }
}

}  // namespace
}  // namespace sensortest
