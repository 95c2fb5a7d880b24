// Helpers of the virtual sensor's tests: a private folder, a settings file
// with a [ZyrPan2] section, film speed data files, and a fake clock.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/tick_clock.h"
#include "sim/film_data.h"
#include "sim/virtual_sensor.h"

namespace sensortest {

inline std::string sReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void vWriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Names in the folder, sorted.
inline std::vector<std::string> vsFolder(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A film of lSteps equal speeds.
inline sim::FilmData film(sim::Projection proj = sim::Projection::Panoramic, int32_t lExposure = 3000,
                          size_t lSteps = 400, int32_t lSpeed = 500)
{
    return sim::FilmData{"NP_TEST", proj, false, lExposure, std::vector<int32_t>(lSteps, lSpeed)};
}

class SensorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::vSetClock(&clock);
        char tmpl[] = "/tmp/zyrsensorXXXXXX";
        dir = mkdtemp(tmpl);
        ini = dir + "/ZYR_PAN_WEQ.ini";
    }
    void TearDown() override
    {
        platform::vSetClock(nullptr);
        std::filesystem::remove_all(dir);
    }

    // Settings with these lines in [ZyrPan2], read by the module's initialisation.
    void vInit(const std::string& keys = "")
    {
        vWriteFile(ini, "[ZYR_PAN_WEQ]\nVolt=70\n\n[ZyrPan2]\n" + keys + "\n");
        ASSERT_EQ(sensor.initModule(ini.c_str(), 1), 0);
    }
    std::string sFilm(const sim::FilmData& f, const std::string& name = "NP_TEST.dat")
    {
        const std::string path = dir + "/" + name;
        vWriteFile(path, sim::sFormatFilmData(f));
        return path;
    }
    // Initialised, parameters set for lImages images, waiting for the X-ray.
    void vArm(int32_t lImages, const std::string& keys = "", sim::Projection proj = sim::Projection::Panoramic)
    {
        vInit(keys);
        ASSERT_EQ(sensor.setParam(sFilm(film(proj)).c_str(), lImages, 10, 50), 0);
        ASSERT_EQ(sensor.waitXExpose(), 0);
    }
    // The console's exposure command, then the unit's "X1".
    void vStartBurst(const std::string& command = "NP_P1_C 70 4")
    {
        sensor.onConsoleCommand(command);
        sensor.onUnitReport("X1");
    }
    uint8_t bytPoll()
    {
        uint8_t b = 0xEE;
        EXPECT_EQ(sensor.checkPictStatus(&b), 0);
        return b;
    }

    platform::FakeClock clock{100000};
    sim::VirtualSensor sensor;
    std::string dir, ini;
};

}  // namespace sensortest
