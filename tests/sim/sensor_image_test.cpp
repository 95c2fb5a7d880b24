// Reading the images out and turning them into the data file and bitmap, as
// the console's retrieval does: ResetAll, GetImageData, DeviceFree,
// ImageProcessing, SaveBitmap.
#include <cstring>

#include "sim/bmp_writer.h"
#include "sim/image_dat.h"
#include "tests/sim/sensor_support.h"

namespace sensortest {
namespace {

uint32_t u32(const std::string& b, size_t off)
{
    uint32_t v = 0;
    std::memcpy(&v, b.data() + off, 4);  // the files are little-endian, like this machine
    return v;
}

class RetrievalTest : public SensorFixture {
protected:
    // An exposure of lImages images at binning 4, of which the X-ray of
    // lEnded had ended when the retrieval began.
    void vExpose(int32_t lImages, int32_t lEnded, sim::Projection proj = sim::Projection::Panoramic,
                 const std::string& command = "NP_P1_C 70 4")
    {
        vArm(lImages, "XrayDelay=0\nXrayOn=1000\nXrayGap=1000\nImageBinning=4", proj);
        const int32_t lPerBurst = lImages == 4 ? 2 : lImages;
        for (int32_t done = 0; done < lEnded;) {
            vStartBurst(command);
            const int32_t n = std::min(lPerBurst, lEnded - done);
            clock.advance(static_cast<uint32_t>(n * 2000 - 1000 + 1));  // up to the end of image n
            done += n;
            if (done < lEnded) clock.advance(5000);
        }
        ASSERT_EQ(sensor.resetAll(), 0);
    }
    int32_t lProcess(int32_t& w, int32_t& h)
    {
        w = h = 0;
        return sensor.imageProcessing(dat.c_str(), &w, &h);
    }
    std::string dat = "";
    void SetUp() override
    {
        SensorFixture::SetUp();
        dat = dir + "/ZYR_PAN_WEQ.DAT";
    }
};

struct ReadCase {
    const char* name;
    sim::Projection proj;
    int32_t lImages, lEnded, lAsked;
    int32_t lStatus, lWidth;  // binning 4: panorama 725 wide, a TMJ view 181
};

std::ostream& operator<<(std::ostream& o, const ReadCase& c) { return o << c.name; }

class ReadOutTest : public RetrievalTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadOutTest, ImagesTakenSoFarMakeThePicture)
{
    const ReadCase& c = GetParam();
    vExpose(c.lImages, c.lEnded, c.proj);
    ASSERT_EQ(sensor.getImageData(c.lAsked), c.lStatus);
    if (c.lStatus != 0) return;
    ASSERT_EQ(sensor.deviceFree(), 0);
    int32_t w = 0, h = 0;
    ASSERT_EQ(lProcess(w, h), 0);
    EXPECT_EQ(w, c.lWidth);
    EXPECT_EQ(h, 350);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ReadOutTest,
    ::testing::Values(ReadCase{"panorama", sim::Projection::Panoramic, 1, 1, 1, 0, 725},
                      ReadCase{"panorama_none_ended", sim::Projection::Panoramic, 1, 0, 1, 18, 0},
                      ReadCase{"two_halves", sim::Projection::Panoramic, 2, 2, 2, 0, 724},
                      ReadCase{"two_halves_one_taken", sim::Projection::Panoramic, 2, 1, 1, 0, 362},
                      ReadCase{"more_than_taken", sim::Projection::Panoramic, 2, 1, 2, 18, 0},
                      ReadCase{"tmj_four", sim::Projection::Tmj, 4, 4, 4, 0, 724},
                      ReadCase{"tmj_first_half", sim::Projection::Tmj, 4, 2, 2, 0, 362},
                      ReadCase{"tmj_three", sim::Projection::Tmj, 4, 3, 3, 0, 543},
                      ReadCase{"zero_asked", sim::Projection::Tmj, 4, 4, 0, 18, 0}),
    [](const ::testing::TestParamInfo<ReadCase>& i) { return std::string(i.param.name); });

TEST_F(RetrievalTest, DataFileHoldsTheProcessedImageInBitmapOrder)
{
    vExpose(1, 1, sim::Projection::Panoramic, "NP_P1_C 74 6");
    ASSERT_EQ(sensor.getImageData(1), 0);
    int32_t w = 0, h = 0;
    ASSERT_EQ(lProcess(w, h), 0);
    const std::string b = sReadFile(dat);
    const int32_t stride = (w + 3) & ~3;
    ASSERT_EQ(b.size(), sim::kDatHeaderSize + static_cast<size_t>(stride) * h);
    EXPECT_EQ(b.substr(0, 8), "ZYRPDAT1");
    EXPECT_EQ(u32(b, 8), uint32_t(w));
    EXPECT_EQ(u32(b, 12), uint32_t(h));
    EXPECT_EQ(u32(b, 16), uint32_t(stride));
    EXPECT_EQ(u32(b, 20), 8u);
    EXPECT_EQ(u32(b, 24), 1u);   // images
    EXPECT_EQ(u32(b, 28), 0u);   // panoramic
    EXPECT_EQ(u32(b, 32), 74u);  // kV and mA of the exposure command
    EXPECT_EQ(u32(b, 36), 6u);
    EXPECT_GT(u32(b, 40), 0u);
    EXPECT_EQ(u32(b, 56), 1u);   // seed
    EXPECT_EQ(u32(b, 60), 2500u);
    EXPECT_EQ(u32(b, 64), uint32_t(stride * h));
    EXPECT_EQ(u32(b, 68), 4u);
    EXPECT_EQ(b.substr(72, 8), std::string(8, '\0'));
    // Padding bytes of every row are 0.
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = w; x < stride; ++x) ASSERT_EQ(b[sim::kDatHeaderSize + size_t(y) * stride + x], 0);
}

TEST_F(RetrievalTest, BitmapCarriesTheDataFilesPixelsUnderTheGivenName)
{
    vExpose(4, 4, sim::Projection::Tmj);
    ASSERT_EQ(sensor.getImageData(4), 0);
    int32_t w = 0, h = 0;
    ASSERT_EQ(lProcess(w, h), 0);
    const std::string bmp = dir + "/out/image.bmp";
    std::filesystem::create_directory(dir + "/out");
    ASSERT_EQ(sensor.saveBitmap(dat.c_str(), w, h, 0, 0, bmp.c_str()), 0);
    const std::string b = sReadFile(bmp), d = sReadFile(dat);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(u32(b, 18), uint32_t(w));
    EXPECT_EQ(u32(b, 22), uint32_t(h));
    EXPECT_EQ(b.substr(sim::kBmpHeaderSize), d.substr(sim::kDatHeaderSize));
    EXPECT_EQ(vsFolder(dir + "/out"), std::vector<std::string>{"image.bmp"});
}

TEST_F(RetrievalTest, RetrievalFailuresGiveTheirStatus)
{
    int32_t w = 0, h = 0;
    vInit();
    EXPECT_EQ(sensor.getImageData(1), 9);            // no exposure prepared
    EXPECT_EQ(lProcess(w, h), 18);                   // nothing read from the sensor
    EXPECT_EQ(sensor.imageProcessing(dat.c_str(), nullptr, &h), 3);
    EXPECT_EQ(sensor.imageProcessing("", &w, &h), -97);
    vExpose(1, 1);
    ASSERT_EQ(sensor.getImageData(1), 0);
    EXPECT_EQ(sensor.imageProcessing((dir + "/no/such/folder/ZYR_PAN_WEQ.DAT").c_str(), &w, &h), -96);
    ASSERT_EQ(lProcess(w, h), 0);
    const std::string bmp = dir + "/x.bmp";
    EXPECT_EQ(sensor.saveBitmap((dir + "/missing.DAT").c_str(), w, h, 0, 0, bmp.c_str()), -94);
    EXPECT_EQ(sensor.saveBitmap(dat.c_str(), w + 1, h, 0, 0, bmp.c_str()), -97);
    EXPECT_EQ(sensor.saveBitmap(dat.c_str(), w, h, 0, 0, ""), -97);
    EXPECT_EQ(sensor.saveBitmap(dat.c_str(), w, h, 0, 0, nullptr), 3);
    EXPECT_EQ(sensor.saveBitmap(dat.c_str(), w, h, 0, 0, (dir + "/no/such/x.bmp").c_str()), -93);
    EXPECT_EQ(sensor.saveBitmap(dat.c_str(), w, h, 0, 0, dir.c_str()), -93);  // a folder of that name
    EXPECT_FALSE(std::filesystem::exists(bmp));
}

TEST_F(RetrievalTest, DamagedDataFileIsAReadingError)
{
    vExpose(1, 1);
    ASSERT_EQ(sensor.getImageData(1), 0);
    int32_t w = 0, h = 0;
    ASSERT_EQ(lProcess(w, h), 0);
    const std::string good = sReadFile(dat), bmp = dir + "/x.bmp";
    std::string bad = good;
    bad[3] = 'X';  // magic
    vWriteFile(dat, bad);
    EXPECT_EQ(sensor.saveBitmap(dat.c_str(), w, h, 0, 0, bmp.c_str()), -94);
    vWriteFile(dat, good.substr(0, good.size() - 1));  // one byte short
    EXPECT_EQ(sensor.saveBitmap(dat.c_str(), w, h, 0, 0, bmp.c_str()), -94);
    bad = good;
    bad[16] = 1;  // a stride that does not fit the width
    vWriteFile(dat, bad);
    EXPECT_EQ(sensor.saveBitmap(dat.c_str(), w, h, 0, 0, bmp.c_str()), -94);
    EXPECT_FALSE(std::filesystem::exists(bmp));
    vWriteFile(dat, good);
    EXPECT_EQ(sensor.saveBitmap(dat.c_str(), w, h, 0, 0, bmp.c_str()), 0);
}

TEST_F(RetrievalTest, KvAndMaOfEachHalfGoIntoItsImages)
{
    // The second TMJ half at a lower current: its views get noisier; the
    // data file names the first half's technique.
    vArm(4, "XrayDelay=0\nXrayOn=1000\nXrayGap=1000\nImageBinning=4", sim::Projection::Tmj);
    vStartBurst("NP_T4 80 8");
    clock.advance(8000);
    vStartBurst("NP_T4 60 2");
    clock.advance(3001);
    ASSERT_EQ(sensor.resetAll(), 0);
    ASSERT_EQ(sensor.getImageData(4), 0);
    int32_t w = 0, h = 0;
    ASSERT_EQ(lProcess(w, h), 0);
    const std::string b = sReadFile(dat);
    EXPECT_EQ(u32(b, 32), 80u);
    EXPECT_EQ(u32(b, 36), 8u);
    // Mean brightness of the first and the last view: a softer beam at 60 kV
    // leaves the same anatomy denser, hence brighter.
    auto mean = [&](int32_t x0) {
        double s = 0;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = x0; x < x0 + w / 4; ++x) s += uint8_t(b[sim::kDatHeaderSize + size_t(y) * ((w + 3) & ~3) + x]);
        return s / (double(h) * (w / 4));
    };
    EXPECT_GT(mean(3 * w / 4), mean(0) + 10);
}

TEST_F(RetrievalTest, ResetKeepsWhatTheSensorTookAndReleaseKeepsWhatWasRead)
{
    vExpose(1, 1);
    ASSERT_EQ(sensor.resetAll(), 0);
    ASSERT_EQ(sensor.getImageData(1), 0);
    ASSERT_EQ(sensor.deviceFree(), 0);
    int32_t w = 0, h = 0;
    EXPECT_EQ(lProcess(w, h), 0);
    EXPECT_EQ(sensor.getImageData(1), 9);  // released: a new exposure needs its parameters again
}

}  // namespace
}  // namespace sensortest
