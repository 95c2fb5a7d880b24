// Whole exposures through the library's calls with the embedded unit: its
// "X1" on the line drives the sensor, the console's polls see each image, and
// the retrieval leaves a bitmap that an independent reader accepts.
#include <cstdio>
#include <cstdlib>

#include "sensor/zyrpan2.h"
#include "sim/film_data.h"
#include "sim/virtual_sensor.h"
#include "tests/sim/sim_fixture.h"

namespace {

const char* const kKeys =
    "AnswerDelay=100\nReadyTime=2000\nHandSwitchDelay=1500\nXrayDelay=500\nXrayOn=3000\nXrayGap=1000\n"
    "MoveTime=3000\nCoolTime=0\nImageBinning=4";

class SensorExposure : public simtest::SimFixture {
protected:
    void SetUp() override
    {
        SimFixture::SetUp();
        sim::theSensor().reset();
        film = dir + "/film.dat";
        std::ofstream(film) << sim::sFormatFilmData({"NP_X", proj, false, 3000, std::vector<int32_t>(400, 500)});
    }
    void TearDown() override
    {
        sim::theSensor().reset();
        SimFixture::TearDown();
    }
    // Connection as the console makes it: c1, the sensor's module, c1 again.
    void vConnect()
    {
        ASSERT_EQ(lOpen(kKeys), 0);
        vCommand("c1");
        vRun(200);
        ASSERT_EQ(vsTake(), simtest::Texts{"s1"});
        ASSERT_EQ(ZyrWeq_SetSensMduInit(ini.c_str(), 1), 0);
        vCommand("c1");
        vRun(200);
        vsTake();
    }
    void vPrepare(int32_t lImages)
    {
        ASSERT_EQ(ZyrWeq_ResetAll(), 0);
        ASSERT_EQ(ZyrWeq_SetParamforPictEx(film.c_str(), lImages, 10, 50), 0);
        ASSERT_EQ(ZyrWeq_SetWaitXExpose(), 0);
    }
    // Runs the line for ms, polling the sensor every 500 ms as the console
    // does; returns the count of 1 -> 0 edges seen.
    int32_t lWatch(uint32_t ms)
    {
        int32_t lEnded = 0;
        for (uint32_t t = 0; t < ms; t += 500) {
            vRun(500);
            uint8_t b = 0;
            EXPECT_EQ(ZyrWeq_CheckPictStatus(&b), 0);
            if (last == 1 && b == 0) ++lEnded;
            last = b;
        }
        return lEnded;
    }
    std::string sRetrieve(int32_t lImages)
    {
        const std::string dat = dir + "/ZYR_PAN_WEQ.DAT", bmp = dir + "/image.bmp";
        int32_t w = 0, h = 0;
        EXPECT_EQ(ZyrWeq_ResetAll(), 0);
        EXPECT_EQ(ZyrWeq_GetImageDataEx(lImages), 0);
        EXPECT_EQ(ZyrWeq_SetDeviceFree(), 0);
        EXPECT_EQ(ZyrWeq_ImageProcessingEx(dat.c_str(), &w, &h), 0);
        EXPECT_EQ(ZyrWeq_SaveBitmap(dat.c_str(), w, h, 0, 0, bmp.c_str()), 0);
        return bmp;
    }
    // What ImageMagick's identify makes of the file: "width height type depth".
    static std::string sIdentify(const std::string& path)
    {
        if (std::system("command -v identify >/dev/null 2>&1 || "
                        "apt-get install -y -qq imagemagick >/dev/null 2>&1") != 0)
            return "";
        std::string out;
        if (FILE* p = popen(("identify -format '%w %h %[type] %z' '" + path + "' 2>&1").c_str(), "r")) {
            char buf[256];
            while (fgets(buf, sizeof buf, p) != nullptr) out += buf;
            pclose(p);
        }
        return out;
    }

    sim::Projection proj = sim::Projection::Panoramic;
    std::string film;
    uint8_t last = 0;
};

TEST_F(SensorExposure, PanoramaFromReadyToBitmap)
{
    vConnect();
    vPrepare(1);
    vCommand("NP_P1_C 70 4");
    EXPECT_EQ(lWatch(3000), 0);   // d1 at 2000
    EXPECT_EQ(lWatch(4500), 1);   // X1 at 3500, X-ray 4000 to 7000
    EXPECT_EQ(vsTake(), (simtest::Texts{"d1", "X1", "X0", "E1"}));
    const std::string id = sIdentify(sRetrieve(1));
    if (id.empty()) GTEST_SKIP() << "identify is not available";
    EXPECT_EQ(id, "725 350 Grayscale 8");
}

class SensorTmjExposure : public SensorExposure {
protected:
    void SetUp() override
    {
        proj = sim::Projection::Tmj;
        SensorExposure::SetUp();
    }
};

TEST_F(SensorTmjExposure, TwoHalvesOfTwoViews)
{
    vConnect();
    vPrepare(4);
    vCommand("NP_T4 70 6");
    EXPECT_EQ(lWatch(12000), 2);  // the first half: X1 at 3500, images to 11000
    // The arm returns to its origin and reports d1; the console's second
    // READY sends the exposure command again, without a new preparation.
    vRun(5000);
    vCommand("NP_T4 70 6");
    EXPECT_EQ(lWatch(15000), 2);
    const std::string id = sIdentify(sRetrieve(4));
    if (id.empty()) GTEST_SKIP() << "identify is not available";
    EXPECT_EQ(id, "724 350 Grayscale 8");
}

}  // namespace
