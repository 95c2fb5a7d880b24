// Reading clips: uncompressed 8-bit and 24-bit frames either way up, the
// chunks a clip may hold besides its frames, palette changes, the frame
// time, and the clips the areas refuse.
#include <gtest/gtest.h>

#include <functional>

#include "tests/ui/animation_riff.h"
#include "ui/avi_clip.h"

using namespace animtest;

namespace {

const QRgb kRed = qRgb(220, 20, 30);
const QRgb kGreen = qRgb(10, 200, 40);
const QRgb kBlue = qRgb(0, 30, 250);

std::vector<QRgb> sixColours() {
    return {qRgb(1, 2, 3), qRgb(40, 50, 60), qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200), qRgb(90, 91, 92)};
}

// Pixel (x, stream row r) of frame f, as a palette index or a colour.
uint32_t pixelOf(int bits, int f, int x, int r) {
    if (bits == 8) return static_cast<uint32_t>((r * 3 + x + f) % 6);
    return qRgb(10 * x + 1 + f, 100 + 20 * r, 50 + 7 * x * r + f);
}

struct tLayout {
    int bits;
    bool topDown;
};

class ClipLayout : public ::testing::TestWithParam<tLayout> {};

TEST_P(ClipLayout, RowsAndColoursLandWhereTheStreamPutsThem) {
    const int bits = GetParam().bits;  // clang 14 lambdas cannot capture a structured binding
    const bool topDown = GetParam().topDown;
    const int w = 3, h = 2;  // three pixels: rows are padded in the stream
    std::vector<Bytes> movie;
    for (int f = 0; f < 2; ++f)
        movie.push_back(chunk("00db", rgbFrame(w, h, bits, [&](int x, int r) { return pixelOf(bits, f, x, r); })));
    const Bytes format = strf(w, topDown ? -h : h, static_cast<uint16_t>(bits), AviClip::kBiRgb,
                              bits == 8 ? sixColours() : std::vector<QRgb>{});
    AviClip clip = loaded(clipFile(format, movie));
    ASSERT_TRUE(clip.isLoaded());
    EXPECT_EQ(clip.width(), w);
    EXPECT_EQ(clip.height(), h);
    EXPECT_EQ(clip.topDown(), topDown);
    const std::vector<QImage> frames = clip.decodeAll();
    ASSERT_EQ(frames.size(), 2u);
    for (int f = 0; f < 2; ++f) {
        for (int r = 0; r < h; ++r) {
            const int y = topDown ? r : h - 1 - r;
            for (int x = 0; x < w; ++x) {
                const uint32_t v = pixelOf(bits, f, x, r);
                const QRgb want = bits == 8 ? sixColours()[v] : v;
                EXPECT_EQ(rgbAt(frames[f], x, y), want) << "frame " << f << " x " << x << " row " << r;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Uncompressed, ClipLayout,
                         ::testing::Values(tLayout{8, false}, tLayout{8, true}, tLayout{24, false},
                                           tLayout{24, true}),
                         [](const auto& info) {
                             return std::to_string(info.param.bits) + (info.param.topDown ? "BitTopDown" : "BitBottomUp");
                         });

Bytes onePixel(uint8_t index) { return {index, 0, 0, 0}; }

TEST(ClipChunks, SkipsWhatIsNotAFrameOfTheFirstStreamAndHonoursPadding) {
    const Bytes format = strf(1, 1, 8, AviClip::kBiRgb, {kRed, kGreen});
    const Bytes oddFrame = {1, 0, 0, 0, 0x55};  // five bytes: longer than the row, padded in the file
    const Bytes movie = list("movi", {chunk("JUNK", {1, 2, 3}), chunk("00dc", oddFrame), chunk("ix00", {9}),
                                      chunk("01dc", onePixel(1)), chunk("00db", onePixel(0)),
                                      list("rec ", {chunk("00dc", onePixel(1)), chunk("01wb", {7, 7, 7})})});
    const Bytes header = list("hdrl", {avih(100000), chunk("JUNK", {0}),
                                       list("strl", {strh("vids"), format, chunk("JUNK", {1, 2, 3, 4, 5})}),
                                       list("strl", {strh("vids"), format})});
    const Bytes file = list("AVI ", {header, list("INFO", {chunk("ISFT", {'x', 0, 0})}), chunk("JUNK", Bytes(7, 0)),
                                     movie, chunk("idx1", Bytes(16, 0))},
                            "RIFF");
    AviClip clip = loaded(file);
    const std::vector<QImage> frames = clip.decodeAll();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(rgbAt(frames[0], 0, 0), kGreen);
    EXPECT_EQ(rgbAt(frames[1], 0, 0), kRed);
    EXPECT_EQ(rgbAt(frames[2], 0, 0), kGreen);
}

TEST(ClipChunks, OnlyTheFirstMovieListCounts) {
    const Bytes format = strf(1, 1, 8, AviClip::kBiRgb, {kRed, kGreen});
    const Bytes file = list("AVI ", {list("hdrl", {avih(100000), list("strl", {strh("vids"), format})}),
                                     list("movi", {chunk("00dc", onePixel(1))}),
                                     list("movi", {chunk("00dc", onePixel(0)), chunk("00dc", onePixel(0))})},
                            "RIFF");
    EXPECT_EQ(loaded(file).frameCount(), 1);
}

TEST(ClipPalette, ChangesApplyToLaterFramesAndPlayingAgainStartsFromTheFirstPalette) {
    const Bytes toBlue = {0, 1, 0, 0, static_cast<uint8_t>(qRed(kBlue)), static_cast<uint8_t>(qGreen(kBlue)),
                          static_cast<uint8_t>(qBlue(kBlue)), 0};
    AviClip clip = loaded(clipFile(strf(1, 1, 8, AviClip::kBiRgb, {kRed, kGreen}),
                                   {chunk("00dc", onePixel(0)), chunk("00pc", toBlue), chunk("00dc", onePixel(0)),
                                    chunk("00dc", onePixel(1))}));
    ASSERT_EQ(clip.frameCount(), 3);
    const QRgb want[] = {kRed, kBlue, kGreen, kRed, kBlue};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(clip.decodeNext());
        EXPECT_EQ(clip.currentFrame(), i % 3);
        EXPECT_EQ(rgbAt(clip.image(), 0, 0), want[i]) << "step " << i;
    }
}

TEST(ClipPalette, EightBitWithoutPaletteShowsGreys) {
    AviClip clip = loaded(clipFile(strf(1, 1, 8, AviClip::kBiRgb), {chunk("00dc", onePixel(200))}));
    ASSERT_EQ(clip.frameCount(), 1);
    EXPECT_EQ(rgbAt(clip.decodeAll()[0], 0, 0), qRgb(200, 200, 200));
}

TEST(ClipFrames, AnEmptyFrameRepeatsTheOneBefore) {
    AviClip clip = loaded(clipFile(strf(1, 1, 8, AviClip::kBiRgb, {kRed, kGreen}),
                                   {chunk("00dc", onePixel(1)), chunk("00dc", {}), chunk("00dc", onePixel(0))}));
    const std::vector<QImage> frames = clip.decodeAll();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(rgbAt(frames[1], 0, 0), kGreen);
    EXPECT_EQ(rgbAt(frames[2], 0, 0), kRed);
}

struct tDelay {
    const char* name;
    uint32_t microSecPerFrame;
    uint32_t scale;
    uint32_t rate;
    int delayMs;
};

class ClipDelay : public ::testing::TestWithParam<tDelay> {};

TEST_P(ClipDelay, FrameTimeComesFromTheMainHeader) {
    const tDelay& d = GetParam();
    AviClip clip = loaded(clipFile(strf(1, 1, 24, AviClip::kBiRgb), {chunk("00dc", Bytes(4, 0))}, d.microSecPerFrame,
                                   {}, strh("vids", d.scale, d.rate)));
    EXPECT_EQ(clip.microSecPerFrame(), d.microSecPerFrame);
    EXPECT_EQ(clip.frameDelayMs(), d.delayMs);
}

INSTANTIATE_TEST_SUITE_P(
    Times, ClipDelay,
    ::testing::Values(tDelay{"Eighth", 125000, 1, 25, 125}, tDelay{"Tenth", 100000, 1, 25, 100},
                      tDelay{"RoundsToNearest", 66667, 1, 25, 67}, tDelay{"TooFastIsSlowed", 1000, 1, 25, 10},
                      tDelay{"ZeroFallsBackToRate", 0, 1, 20, 50}, tDelay{"ZeroWithoutRate", 0, 0, 0, 100}),
    [](const auto& info) { return std::string(info.param.name); });

struct tRefusal {
    const char* name;
    std::function<Bytes()> file;
};

class ClipRefused : public ::testing::TestWithParam<tRefusal> {};

TEST_P(ClipRefused, LoadFailsAndLeavesNoClip) {
    AviClip clip;
    std::string why;
    EXPECT_FALSE(clip.load(GetParam().file(), &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(clip.isLoaded());
    EXPECT_EQ(clip.frameCount(), 0);
    EXPECT_FALSE(clip.decodeNext());
}

const Bytes kPixel24 = Bytes(4, 0);
Bytes rgb24(int32_t w, int32_t h) { return strf(w, h, 24, AviClip::kBiRgb); }
Bytes withFormat(const Bytes& format) { return clipFile(format, {chunk("00dc", kPixel24)}); }
Bytes compression(uint32_t fourcc, uint16_t bits) { return withFormat(strf(1, 1, bits, fourcc)); }
uint32_t fourcc(const char* s) { return static_cast<uint32_t>(s[0] | s[1] << 8 | s[2] << 16 | s[3] << 24); }

INSTANTIATE_TEST_SUITE_P(
    Bad, ClipRefused,
    ::testing::Values(
        tRefusal{"SoundStreamSecond", [] { return clipFile(rgb24(1, 1), {chunk("00dc", kPixel24)}, 100000,
                                                          {list("strl", {strh("auds"), chunk("strf", Bytes(16, 0))})}); }},
        tRefusal{"SoundStreamFirst", [] { return clipFile(rgb24(1, 1), {chunk("00dc", kPixel24)}, 100000, {},
                                                         strh("auds")); }},
        tRefusal{"MotionJpeg", [] { return compression(fourcc("MJPG"), 24); }},
        tRefusal{"RunLength4", [] { return compression(2, 4); }},
        tRefusal{"BitFields", [] { return compression(3, 16); }},
        tRefusal{"Rgb16", [] { return compression(0, 16); }},
        tRefusal{"Rgb32", [] { return compression(0, 32); }},
        tRefusal{"RunLength8Of24Bits", [] { return compression(1, 24); }},
        tRefusal{"NoMainHeader", [] {
            return list("AVI ", {list("hdrl", {list("strl", {strh("vids"), rgb24(1, 1)})}),
                                 list("movi", {chunk("00dc", kPixel24)})}, "RIFF"); }},
        tRefusal{"NoPictureFormat", [] {
            return list("AVI ", {list("hdrl", {avih(1000), list("strl", {strh("vids")})}),
                                 list("movi", {chunk("00dc", kPixel24)})}, "RIFF"); }},
        tRefusal{"NoFrames", [] { return clipFile(rgb24(1, 1), {chunk("JUNK", kPixel24)}); }},
        tRefusal{"ZeroWidth", [] { return withFormat(rgb24(0, 1)); }},
        tRefusal{"NegativeWidth", [] { return withFormat(rgb24(-1, 1)); }},
        tRefusal{"ZeroHeight", [] { return withFormat(rgb24(1, 0)); }},
        tRefusal{"HugePicture", [] { return withFormat(rgb24(8000, 8000)); }},
        tRefusal{"LowestHeight", [] { return withFormat(rgb24(1, INT32_MIN)); }},
        tRefusal{"NotRiff", [] { Bytes b = withFormat(rgb24(1, 1)); b[0] = 'X'; return b; }},
        tRefusal{"WaveForm", [] { Bytes b = withFormat(rgb24(1, 1)); std::memcpy(&b[8], "WAVE", 4); return b; }},
        tRefusal{"PictureHeaderTooSmall", [] { Bytes b = withFormat(rgb24(1, 1));
            // biSize sits 8 bytes into the strf chunk
            for (size_t i = 0; i + 8 < b.size(); ++i) if (std::memcmp(&b[i], "strf", 4) == 0) { b[i + 8] = 12; break; }
            return b; }},
        tRefusal{"MoreColoursThanPalette", [] { return withFormat(strf(1, 1, 8, 0, {kRed}, 2)); }},
        tRefusal{"MoreThan256Colours", [] { return withFormat(strf(1, 1, 8, 0, std::vector<QRgb>(257, kRed))); }},
        tRefusal{"FrameShorterThanPicture", [] { return clipFile(rgb24(2, 2), {chunk("00dc", Bytes(15, 0))}); }},
        tRefusal{"PaletteChangePastEntry255", [] {
            return clipFile(strf(1, 1, 8, 0, {kRed}), {chunk("00pc", {255, 2, 0, 0, 1, 2, 3, 0, 4, 5, 6, 0}),
                                                       chunk("00dc", kPixel24)}); }},
        tRefusal{"PaletteChangeShort", [] {
            return clipFile(strf(1, 1, 8, 0, {kRed}), {chunk("00pc", {0, 2, 0, 0, 1, 2, 3, 0}),
                                                       chunk("00dc", kPixel24)}); }},
        tRefusal{"RiffLongerThanFile", [] { Bytes b = withFormat(rgb24(1, 1)); b[4] += 2; return b; }},
        tRefusal{"ChunkLongerThanItsList", [] {
            Bytes movie = list("movi", {chunk("00dc", kPixel24)});
            movie[16] = 40;  // the frame's size: far past the end of the movie list
            return list("AVI ", {list("hdrl", {avih(1000), list("strl", {strh("vids"), rgb24(1, 1)})}), movie,
                                 chunk("JUNK", Bytes(64, 0))}, "RIFF"); }},
        tRefusal{"Empty", [] { return Bytes{}; }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
