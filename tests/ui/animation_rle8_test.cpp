// Run-length coded clips: every escape of the coding on hand-built frames,
// broken codes refused, and our writer's clips decoding to what was drawn.
#include <gtest/gtest.h>

#include <random>

#include "tests/ui/animation_riff.h"
#include "tools/make_clips_avi.h"
#include "tools/make_clips_rle8.h"
#include "ui/avi_clip.h"

using namespace animtest;

namespace {

const std::vector<QRgb> kFour = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

// A 4 x 3 clip whose first frame paints everything with index 3, so that
// what the second frame leaves alone stays visibly 3.
Bytes overPaintedClip(const Bytes& second, int32_t height = 3) {
    const Bytes first = {4, 3, 0, 0, 4, 3, 0, 0, 4, 3, 0, 1};
    return clipFile(strf(4, height, 8, AviClip::kBiRle8, kFour), {chunk("00dc", first), chunk("00dc", second)});
}

// Indices of a frame by stream row (row 0 is the bottom one).
std::vector<std::string> streamRows(const AviClip& clip, const QImage& frame) {
    std::vector<std::string> rows;
    for (int r = 0; r < clip.height(); ++r) {
        const int y = clip.topDown() ? r : clip.height() - 1 - r;
        std::string row;
        for (int x = 0; x < clip.width(); ++x) row += static_cast<char>('0' + frame.pixelIndex(x, y));
        rows.push_back(row);
    }
    return rows;
}

struct tRleCase {
    const char* name;
    Bytes code;
    std::vector<std::string> rows;
};

class Rle8Codes : public ::testing::TestWithParam<tRleCase> {};

TEST_P(Rle8Codes, PaintExactlyTheirPixels) {
    AviClip clip = loaded(overPaintedClip(GetParam().code));
    ASSERT_EQ(clip.frameCount(), 2);
    const std::vector<QImage> frames = clip.decodeAll();
    EXPECT_EQ(streamRows(clip, frames[0]), (std::vector<std::string>{"3333", "3333", "3333"}));
    EXPECT_EQ(streamRows(clip, frames[1]), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Escapes, Rle8Codes,
    ::testing::Values(
        tRleCase{"RunsAndEndOfLine", {2, 1, 2, 2, 0, 0, 4, 1, 0, 1}, {"1122", "1111", "3333"}},
        tRleCase{"EndOfPictureStopsEarly", {1, 2, 0, 1, 4, 1}, {"2333", "3333", "3333"}},
        tRleCase{"JumpRightAndDown", {0, 2, 1, 1, 2, 1, 0, 1}, {"3333", "3113", "3333"}},
        tRleCase{"OddLiteralIsPadded", {0, 3, 1, 2, 1, 0, 0, 1}, {"1213", "3333", "3333"}},
        tRleCase{"EvenLiteral", {0, 4, 0, 1, 2, 0, 0, 1}, {"0120", "3333", "3333"}},
        tRleCase{"LiteralThenRun", {0, 3, 2, 2, 2, 0, 1, 1, 0, 1}, {"2221", "3333", "3333"}},
        tRleCase{"RunPastTheEdgeIsCut", {6, 1, 0, 0, 1, 2, 0, 1}, {"1111", "2333", "3333"}},
        tRleCase{"NoEndMark", {1, 0, 1, 1}, {"0133", "3333", "3333"}},
        tRleCase{"JumpOutsideThePicture", {0, 2, 10, 10, 4, 1, 0, 1}, {"3333", "3333", "3333"}},
        tRleCase{"LinesAboveTheTop", {0, 0, 0, 0, 0, 0, 4, 1, 0, 1}, {"3333", "3333", "3333"}},
        tRleCase{"JumpThenLineEnd", {0, 2, 3, 0, 1, 2, 0, 0, 1, 1, 0, 1}, {"3332", "1333", "3333"}},
        tRleCase{"NothingChanges", {0, 1}, {"3333", "3333", "3333"}}),
    [](const auto& info) { return std::string(info.param.name); });

class Rle8Broken : public ::testing::TestWithParam<Bytes> {};

TEST_P(Rle8Broken, CodesCutShortRefuseTheClip) {
    AviClip clip;
    EXPECT_FALSE(clip.load(overPaintedClip(GetParam())));
    EXPECT_FALSE(clip.isLoaded());
}

INSTANTIATE_TEST_SUITE_P(Truncated, Rle8Broken,
                         ::testing::Values(Bytes{4}, Bytes{2, 1, 0}, Bytes{0, 2, 1}, Bytes{0, 5, 1, 2, 3},
                                           Bytes{0, 3, 1}));

TEST(Rle8Rows, TopDownClipPaintsFromTheTop) {
    AviClip clip = loaded(clipFile(strf(2, -2, 8, AviClip::kBiRle8, kFour), {chunk("00dc", {2, 1, 0, 0, 2, 2, 0, 1})}));
    ASSERT_TRUE(clip.topDown());
    const QImage frame = clip.decodeAll().at(0);
    EXPECT_EQ(frame.pixelIndex(0, 0), 1);
    EXPECT_EQ(frame.pixelIndex(1, 1), 2);
}

// Pictures with flat areas, long runs and noise, changing a little or a
// lot from frame to frame, to make the writer use every kind of code.
std::vector<QImage> drawnFrames(int width, int height, int count, unsigned seed) {
    std::mt19937 rng(seed);
    QList<QRgb> table;
    for (int i = 0; i < 16; ++i) table.push_back(qRgb(i * 16, 255 - i * 16, (i * 77) % 256));
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable(table);
    image.fill(0u);
    std::vector<QImage> frames;
    for (int f = 0; f < count; ++f) {
        const int changes = f == 3 ? width * height : 1 + static_cast<int>(rng() % 6);
        for (int c = 0; c < changes; ++c) {
            const int x = static_cast<int>(rng() % width), y = static_cast<int>(rng() % height);
            const int len = f == 3 ? 1 : 1 + static_cast<int>(rng() % (width + 20));
            const uint8_t index = static_cast<uint8_t>(rng() % 16);
            for (int i = 0; i < len && x + i < width; ++i) image.setPixel(x + i, y, rng() % 5 == 0 ? (index + 1) % 16 : index);
        }
        if (f == 2) frames.push_back(frames.back());  // a frame that does not change at all
        else frames.push_back(image.copy());
    }
    return frames;
}

struct tSize {
    int width;
    int height;
};

class Rle8RoundTrip : public ::testing::TestWithParam<tSize> {};

TEST_P(Rle8RoundTrip, WriterClipsDecodeToTheFramesDrawn) {
    const auto [width, height] = GetParam();
    clips::tClip source;
    source.microSecPerFrame = 150000;
    source.frames = drawnFrames(width, height, 6, static_cast<unsigned>(width * 131 + height));
    AviClip clip = loaded(clips::writeAviRle8(source));
    ASSERT_TRUE(clip.isLoaded());
    EXPECT_EQ(clip.compression(), AviClip::kBiRle8);
    EXPECT_EQ(clip.bitCount(), 8);
    EXPECT_EQ(clip.width(), width);
    EXPECT_EQ(clip.height(), height);
    EXPECT_FALSE(clip.topDown());
    EXPECT_EQ(clip.frameDelayMs(), 150);
    const std::vector<QImage> frames = clip.decodeAll();
    ASSERT_EQ(frames.size(), source.frames.size());
    for (size_t f = 0; f < frames.size(); ++f) {
        const QImage want = source.frames[f].convertToFormat(QImage::Format_RGB32);
        const QImage got = frames[f].convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(got, want) << "frame " << f;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, Rle8RoundTrip,
                         ::testing::Values(tSize{1, 1}, tSize{3, 2}, tSize{17, 5}, tSize{300, 4}, tSize{5, 300},
                                           tSize{180, 140}, tSize{400, 140}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

QImage flat(int width, int height, uint8_t index) {
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(kFour.begin(), kFour.end()));
    image.fill(index);
    return image;
}

TEST(Rle8Writer, UnchangedFrameIsJustTheEndMark) {
    const QImage a = flat(40, 30, 2);
    EXPECT_EQ(clips::encodeRle8Delta(a, a), (Bytes{0, 1}));
}

TEST(Rle8Writer, FlatRowsBecomeLongRuns) {
    // Each row: 255 and 45 pixels of index 2, then end of line; end mark last.
    const Bytes code = clips::encodeRle8(flat(300, 2, 2));
    EXPECT_EQ(code, (Bytes{255, 2, 45, 2, 0, 0, 255, 2, 45, 2, 0, 1}));
}

TEST(Rle8Writer, OneChangedPixelFarAwayIsReachedByJumps) {
    const QImage before = flat(300, 300, 1);
    QImage after = before.copy();
    after.setPixel(290, 299 - 280, 3);  // stream row 280, counted from the bottom
    const Bytes code = clips::encodeRle8Delta(before, after);
    // end of line, down 255, down 24, right 255, right 35, the pixel, end.
    EXPECT_EQ(code, (Bytes{0, 0, 0, 2, 0, 255, 0, 2, 0, 24, 0, 2, 255, 0, 0, 2, 35, 0, 1, 3, 0, 1}));
}

TEST(Rle8Writer, MixedRowUsesLiteralsForShortStretches) {
    QImage image = flat(8, 1, 0);
    const uint8_t row[8] = {1, 2, 3, 3, 3, 3, 1, 2};
    for (int x = 0; x < 8; ++x) image.setPixel(x, 0, row[x]);
    EXPECT_EQ(clips::encodeRle8(image), (Bytes{1, 1, 1, 2, 4, 3, 1, 1, 1, 2, 0, 1}));
    const uint8_t row2[8] = {1, 2, 1, 3, 3, 3, 2, 1};
    for (int x = 0; x < 8; ++x) image.setPixel(x, 0, row2[x]);
    EXPECT_EQ(clips::encodeRle8(image), (Bytes{0, 3, 1, 2, 1, 0, 3, 3, 1, 2, 1, 1, 0, 1}));
}

}  // namespace
