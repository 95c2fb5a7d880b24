// The bitmap as a reader of Windows bitmaps finds it, and its save: a
// temporary file renamed over the target, never a broken image.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstring>

#include "sim/bmp_writer.h"
#include "sim/image_dat.h"
#include "tests/sim/sensor_support.h"

namespace sensortest {
namespace {

uint32_t u32(const std::string& b, size_t off)
{
    return uint8_t(b[off]) | uint8_t(b[off + 1]) << 8 | uint8_t(b[off + 2]) << 16 | uint32_t(uint8_t(b[off + 3])) << 24;
}
uint32_t u16(const std::string& b, size_t off) { return uint8_t(b[off]) | uint8_t(b[off + 1]) << 8; }

// The pixel at (x, y) of the test pattern, y = 0 the top row.
uint8_t pattern(int32_t x, int32_t y) { return static_cast<uint8_t>(7 * x + 31 * y + 1); }

class BitmapTest : public SensorFixture {
protected:
    // A data file of the pattern, as the processing writes it (rows bottom-up).
    void vWriteDat(int32_t w, int32_t h)
    {
        sim::DatHeader hd;
        hd.lWidth = w, hd.lHeight = h, hd.lStride = sim::lBmpStride(w), hd.lViews = 1;
        hd.lPixelsPerMetre = 10000, hd.lPixelBytes = hd.lStride * h;
        ASSERT_TRUE(sim::booWriteDat(dat, hd, [&](int32_t y, uint8_t* dst) {
            for (int32_t x = 0; x < w; ++x) dst[x] = pattern(x, y);
        }));
    }
    int32_t lSave(int32_t w, int32_t h, const std::string& name)
    {
        return sensor.saveBitmap(dat.c_str(), w, h, 0, 0, name.c_str());
    }
    void SetUp() override
    {
        SensorFixture::SetUp();
        dat = dir + "/ZYR_PAN_WEQ.DAT";
        bmp = dir + "/image.bmp";
    }
    std::string dat, bmp;
};

class BitmapLayoutTest : public BitmapTest, public ::testing::WithParamInterface<std::pair<int32_t, int32_t>> {};

TEST_P(BitmapLayoutTest, HeadersPaletteAndBottomUpPaddedRows)
{
    const auto [w, h] = GetParam();
    vWriteDat(w, h);
    ASSERT_EQ(lSave(w, h, bmp), 0);
    const std::string b = sReadFile(bmp);
    const uint32_t stride = (uint32_t(w) + 3) / 4 * 4;
    ASSERT_EQ(b.size(), 1078 + stride * h);
    // BITMAPFILEHEADER
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(u32(b, 2), b.size());
    EXPECT_EQ(u32(b, 6), 0u);
    EXPECT_EQ(u32(b, 10), 1078u);
    // BITMAPINFOHEADER
    EXPECT_EQ(u32(b, 14), 40u);
    EXPECT_EQ(u32(b, 18), uint32_t(w));
    EXPECT_EQ(u32(b, 22), uint32_t(h));  // positive height: bottom-up
    EXPECT_EQ(u16(b, 26), 1u);
    EXPECT_EQ(u16(b, 28), 8u);
    EXPECT_EQ(u32(b, 30), 0u);
    EXPECT_EQ(u32(b, 34), stride * h);
    EXPECT_EQ(u32(b, 38), 10000u);
    EXPECT_EQ(u32(b, 42), 10000u);
    EXPECT_EQ(u32(b, 46), 256u);
    EXPECT_EQ(u32(b, 50), 256u);
    // Grey palette: blue, green, red, 0.
    for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(u32(b, 54 + 4 * i), i | i << 8 | i << 16) << i;
    // The file's first row is the image's bottom row; padding is zero.
    for (int32_t r = 0; r < h; ++r) {
        const size_t row = 1078 + size_t(r) * stride;
        for (int32_t x = 0; x < w; ++x) ASSERT_EQ(uint8_t(b[row + x]), pattern(x, h - 1 - r)) << x << "," << r;
        for (uint32_t x = uint32_t(w); x < stride; ++x) ASSERT_EQ(b[row + x], 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, BitmapLayoutTest,
                         ::testing::Values(std::make_pair(1, 1), std::make_pair(3, 2), std::make_pair(4, 3),
                                           std::make_pair(5, 4), std::make_pair(6, 5), std::make_pair(7, 2),
                                           std::make_pair(725, 350)));

TEST_F(BitmapTest, SavingLeavesNoTemporaryFileAndReplacesTheOldImage)
{
    vWriteFile(bmp, "old image");
    vWriteDat(5, 3);
    ASSERT_EQ(lSave(5, 3, bmp), 0);
    EXPECT_EQ(sReadFile(bmp).size(), 1078u + 8 * 3);
    EXPECT_EQ(vsFolder(dir), (std::vector<std::string>{"ZYR_PAN_WEQ.DAT", "image.bmp"}));
}

TEST_F(BitmapTest, AFailedWriteLeavesTheOldImageIntact)
{
    // The file system refuses the write half-way (a file size limit holds
    // for every user, root included).
    vWriteFile(bmp, "old image");
    vWriteDat(200, 100);
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    sighandler_t prev = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int32_t lStat = lSave(200, 100, bmp);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, prev);
    EXPECT_EQ(lStat, -93);
    EXPECT_EQ(sReadFile(bmp), "old image");
    EXPECT_EQ(vsFolder(dir), (std::vector<std::string>{"ZYR_PAN_WEQ.DAT", "image.bmp"}));
}

TEST_F(BitmapTest, AnUnwritableFolderLeavesTheOldImageIntact)
{
    if (geteuid() == 0) {
        // Root writes into any folder; a folder that is no folder refuses
        // root as well.
        const std::string notFolder = dir + "/plain";
        vWriteFile(notFolder, "x");
        vWriteDat(5, 3);
        EXPECT_EQ(lSave(5, 3, notFolder + "/image.bmp"), -93);
        EXPECT_EQ(sReadFile(notFolder), "x");
        return;
    }
    const std::string sub = dir + "/locked";
    std::filesystem::create_directory(sub);
    vWriteFile(sub + "/image.bmp", "old image");
    vWriteDat(5, 3);
    chmod(sub.c_str(), 0555);
    EXPECT_EQ(lSave(5, 3, sub + "/image.bmp"), -93);
    chmod(sub.c_str(), 0755);
    EXPECT_EQ(sReadFile(sub + "/image.bmp"), "old image");
    EXPECT_EQ(vsFolder(sub), std::vector<std::string>{"image.bmp"});
}

TEST_F(BitmapTest, RelativeNamesAreTakenFromTheCurrentFolder)
{
    vWriteDat(3, 3);
    std::filesystem::create_directory(dir + "/cwd");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir + "/cwd");
    const int32_t a = lSave(3, 3, "plain.bmp");
    std::filesystem::create_directory("sub");
    const int32_t b = lSave(3, 3, "sub/nested.bmp");
    std::filesystem::current_path(before);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(vsFolder(dir + "/cwd"), (std::vector<std::string>{"plain.bmp", "sub"}));
    EXPECT_EQ(vsFolder(dir + "/cwd/sub"), std::vector<std::string>{"nested.bmp"});
}

}  // namespace
}  // namespace sensortest
