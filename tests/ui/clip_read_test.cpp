// Reading clips: uncompressed 8-bit and 24-bit frames either way up, the
// chunks a clip may hold besides its frames, palette changes, the frame
// time, the clips refused as a whole (sound, other codings, files cut short
// or whose sizes lie); every escape of the run-length coding.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/ui/clip_bytes.h"
#include "ui/avi_clip.h"

using namespace cliptest;

namespace {

const QRgb kBlack = qRgb(0, 0, 0), kRed = qRgb(220, 20, 30), kGreen = qRgb(10, 200, 40), kBlue = qRgb(0, 30, 250);
const Bytes kPixel = Bytes(4, 0);

// Other streams' chunks, odd chunks with their pad byte, frames in "rec "
// groups, and a second movie list that does not count.
Bytes firstStreamOnly() {
    const Bytes format = strf(1, 1, 8, AviClip::kBiRgb, {kRed, kGreen});
    const Bytes movie = list("movi", {chunk("JUNK", {1, 2, 3}), chunk("00dc", {1, 0, 0, 0, 0x55}), chunk("ix00", {9}),
                                      chunk("01dc", {1, 0, 0, 0}), chunk("00db", {0, 0, 0, 0}),
                                      list("rec ", {chunk("00dc", {1, 0, 0, 0}), chunk("01wb", {7, 7, 7})})});
    const Bytes streams = list("hdrl", {avih(100000), chunk("JUNK", {0}), list("strl", {strh("vids"), format}),
                                        list("strl", {strh("vids"), format})});
    return list("AVI ", {streams, list("INFO", {chunk("ISFT", {'x', 0, 0})}), movie, chunk("idx1", Bytes(16, 0)),
                         list("movi", {chunk("00dc", kPixel)})},
                "RIFF");
}

// One column, two rows padded to whole words: red in the stream's first
// row, green in its second (8-bit: palette entries 2 and 3).
Bytes twoRows(uint16_t bits, int32_t height) {
    const Bytes rows = bits == 8 ? Bytes{2, 0, 0, 0, 3, 0, 0, 0} : Bytes{30, 20, 220, 0, 40, 200, 10, 0};
    const std::vector<QRgb> palette = {kBlack, kBlue, kRed, kGreen, kBlue};
    return clipFile(strf(1, height, bits, 0, bits == 8 ? palette : std::vector<QRgb>{}), {chunk("00db", rows)});
}

Bytes timed(uint32_t microSecPerFrame, uint32_t scale, uint32_t rate) {
    return clipFile(strf(1, 1, 24, 0), {chunk("00dc", kPixel)}, microSecPerFrame, {}, strh("vids", scale, rate));
}

Bytes rgb24(int32_t w, int32_t h) { return clipFile(strf(w, h, 24, 0), {chunk("00dc", Bytes(size_t(w) * 3 + 3, 0))}); }
Bytes rle8(int32_t w, int32_t h, const Bytes& code = {0, 1}) {
    return clipFile(strf(w, h, 8, AviClip::kBiRle8, {kBlack}), {chunk("00dc", code)});
}
Bytes coded(uint32_t coding, uint16_t bits) { return clipFile(strf(1, 1, bits, coding), {chunk("00dc", kPixel)}); }

// A one-pixel 8-bit clip showing entry 0 (red) last, after the chunks `before`.
Bytes eightBit(const std::vector<Bytes>& before, const std::vector<QRgb>& palette = {kRed, kGreen}) {
    std::vector<Bytes> movie = before;
    movie.push_back(chunk("00dc", {0, 0, 0, 0}));
    return clipFile(strf(1, 1, 8, 0, palette), movie);
}
const Bytes kToBlue = chunk("00pc", {0, 1, 0, 0, qRed(kBlue), qGreen(kBlue), qBlue(kBlue), 0});  // entry 0 turns blue

// A one-pixel 24-bit clip with `value` written `delta` bytes from its first `id`.
Bytes patched(const char* id, std::ptrdiff_t delta, uint32_t value, Bytes b = rgb24(1, 1)) {
    const auto at = std::search(b.begin(), b.end(), id, id + 4) + delta;
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
    return b;
}

// The one-pixel clip cut `past` bytes after its first `id`, its RIFF size made to fit.
Bytes cutAfter(const char* id, std::ptrdiff_t past) {
    const Bytes whole = rgb24(1, 1);
    const Bytes cut(whole.begin(), std::search(whole.begin(), whole.end(), id, id + 4) + past);
    return patched("RIFF", 4, static_cast<uint32_t>(cut.size() - 8), cut);
}

struct tClipCase {
    const char* name;
    Bytes file;
    std::vector<QRgb> shown = {};  // pixel (0, 0) of each frame; none: the clip is refused
    int delayMs = 0;               // 0: not looked at
};

class ClipFile : public ::testing::TestWithParam<tClipCase> {};

// The rows of the picture either way up, padded, in blue-green-red order
// or through the palette; the chunks a clip holds besides its frames;
// palette changes (a second round of play starts from the first palette);
// the frame time. Each refused row pins a check that keeps the reader
// inside the file and the picture (run these under the address sanitizer
// too), and a refused clip must leave nothing half loaded.
TEST_P(ClipFile, LoadsWholeOrNotAtAll) {
    const tClipCase& c = GetParam();
    AviClip clip;
    std::string why;
    EXPECT_EQ(clip.load(c.file, &why), !c.shown.empty()) << why;
    EXPECT_EQ(clip.decodeNext(), !c.shown.empty());
    EXPECT_EQ(clip.frameDelayMs(), c.delayMs != 0 ? c.delayMs : clip.frameDelayMs());
    for (size_t i = 0; i < 2 * c.shown.size(); ++i) {
        EXPECT_EQ(clip.currentFrame(), static_cast<int>(i % c.shown.size()));
        EXPECT_EQ(clip.image().pixel(0, 0) | 0xFF000000u, c.shown[i % c.shown.size()]) << "frame " << i;
        clip.decodeNext();
    }
}

const Bytes kHeaderTooShort =
    list("AVI ", {list("hdrl", {chunk("avih", {1, 2}), list("strl", {strh("vids"), strf(1, 1, 24, 0)})}),
                  list("movi", {chunk("00dc", kPixel)})},
         "RIFF");
const Bytes kSound = list("strl", {strh("auds"), chunk("strf", Bytes(16, 0))});
const Bytes kNoFrames = clipFile(strf(1, 1, 24, 0), {chunk("JUNK", kPixel)});

INSTANTIATE_TEST_SUITE_P(
    Files, ClipFile,
    ::testing::ValuesIn(std::vector<tClipCase>{
        {"EightBitBottomUp", twoRows(8, 2), {kGreen}}, {"EightBitTopDown", twoRows(8, -2), {kRed}},
        {"TrueColourBottomUp", twoRows(24, 2), {kGreen}}, {"TrueColourTopDown", twoRows(24, -2), {kRed}},
        {"FirstStreamOnly", firstStreamOnly(), {kGreen, kRed, kGreen}},
        {"PaletteChangeAndEmptyFrame", eightBit({chunk("00dc", {0, 0, 0, 0}), kToBlue, chunk("00dc", {1, 0, 0, 0}),
                                                 chunk("00dc", {})}), {kRed, kGreen, kGreen, kBlue}},
        {"GreysWithoutPalette", clipFile(strf(1, 1, 8, 0), {chunk("00dc", {200, 0, 0, 0})}), {qRgb(200, 200, 200)}},
        {"DelayRoundsUp", timed(66667, 1, 25), {kBlack}, 67}, {"DelayRoundsDown", timed(66499, 1, 25), {kBlack}, 66},
        {"DelayBelowTheFloor", timed(9000, 1, 25), {kBlack}, 10}, {"DelayAtTheFloor", timed(10000, 1, 1), {kBlack}, 10},
        {"DelayFromTheStreamRate", timed(0, 1, 20), {kBlack}, 50}, {"DelayWithoutTime", timed(0, 0, 0), {kBlack}, 100},
        {"WidestPicture", rgb24(8192, 1), {kBlack}}, {"TooWide", rgb24(8193, 1)},
        {"TallestPicture", rle8(1, -8192), {kBlack}}, {"TooTall", rle8(1, 8193)},
        {"MostPixels", rle8(4096, 4096), {kBlack}}, {"TooManyPixels", rle8(4097, 4096)},
        {"ZeroWidth", rgb24(0, 1)}, {"NegativeWidth", rgb24(-1, 1)}, {"ZeroHeight", rgb24(1, 0)},
        {"LowestHeight", rgb24(1, INT32_MIN)}, {"FrameShorterThanPicture", rgb24(1, 2)}, {"NoFrames", kNoFrames},
        {"SoundStream", clipFile(strf(1, 1, 24, 0), {chunk("00dc", kPixel)}, 100000, {kSound})},
        {"MotionJpeg", coded(0x47504A4D, 24)}, {"Rgb16", coded(0, 16)}, {"Rle8Of24Bits", coded(1, 24)},
        // A chunk missing: its name turned to "JUNK".
        {"NoMainHeader", patched("avih", 0, 0x4B4E554A)}, {"MainHeaderTooShort", kHeaderTooShort},
        {"NoPictureFormat", patched("strf", 0, 0x4B4E554A)}, {"PictureHeaderTooSmall", patched("strf", 8, 12)},
        {"NotRiff", patched("RIFF", 0, 0x46464958)}, {"WaveForm", patched("AVI ", 0, 0x45564157)},
        {"CutInTheFileHeader", cutAfter("RIFF", 11)}, {"CutInTheMainHeader", cutAfter("avih", 10)},
        {"RiffOneByteLongerThanFile", patched("RIFF", 4, static_cast<uint32_t>(rgb24(1, 1).size() - 7))},
        {"FrameSizeHuge", patched("00dc", 4, 0xFFFFFFFFu)},
        {"MoreColoursThanPalette", patched("strf", 40, 3, eightBit({}))},
        {"MoreThan256Colours", eightBit({}, std::vector<QRgb>(257, kRed))},
        {"PaletteChangePastEntry255", eightBit({chunk("00pc", {255, 2, 0, 0, 1, 2, 3, 0, 4, 5, 6, 0})})},
        {"PaletteChangeShort", eightBit({chunk("00pc", {0, 2, 0, 0, 1, 2, 3, 0})})},
        {"RunWithoutIndex", rle8(4, 3, {4})}, {"JumpCutShort", rle8(4, 3, {0, 2, 1})},
        {"LiteralCutShort", rle8(4, 3, {0, 5, 1, 2, 3})}}),
    [](const auto& info) { return std::string(info.param.name); });

struct tRleCase {
    const char* name;
    int32_t height;  // < 0: rows run top-down
    Bytes code;
    std::vector<std::string> rows;  // palette indices from the top row down
};

class Rle8Codes : public ::testing::TestWithParam<tRleCase> {};

// The first frame paints all of the 4 x 3 picture with index 3, so what the
// second frame leaves alone stays visibly 3. Catches each escape decoded
// wrong, a literal's pad byte not skipped, a run not cut at the edge, the
// rows flipped.
TEST_P(Rle8Codes, PaintExactlyTheirPixels) {
    const Bytes allThree = {4, 3, 0, 0, 4, 3, 0, 0, 4, 3, 0, 1};
    AviClip clip;
    ASSERT_TRUE(clip.load(clipFile(strf(4, GetParam().height, 8, AviClip::kBiRle8, {0, 0, 0, 0}),
                                   {chunk("00dc", allThree), chunk("00dc", GetParam().code)})));
    const QImage frame = clip.decodeAll().at(1);
    std::vector<std::string> rows(3);
    for (int i = 0; i < 12; ++i) rows[i / 4] += static_cast<char>('0' + frame.pixelIndex(i % 4, i / 4));
    EXPECT_EQ(rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Escapes, Rle8Codes,
    ::testing::ValuesIn(std::vector<tRleCase>{
        {"RunsAndEndOfLine", 3, {2, 1, 2, 2, 0, 0, 4, 1, 0, 1}, {"3333", "1111", "1122"}},
        {"TopDown", -3, {2, 1, 2, 2, 0, 0, 4, 1, 0, 1}, {"1122", "1111", "3333"}},
        {"EndOfPictureStopsEarly", 3, {1, 2, 0, 1, 4, 1}, {"3333", "3333", "2333"}},
        {"JumpRightAndDown", 3, {0, 2, 1, 1, 2, 1, 0, 1}, {"3333", "3113", "3333"}},
        {"OddLiteralIsPadded", 3, {0, 3, 1, 2, 1, 0, 0, 1}, {"3333", "3333", "1213"}},
        {"EvenLiteral", 3, {0, 4, 0, 1, 2, 0, 0, 1}, {"3333", "3333", "0120"}},
        {"RunPastTheEdgeIsCut", 3, {6, 1, 0, 0, 1, 2, 0, 1}, {"3333", "2333", "1111"}},
        {"NoEndMark", 3, {1, 0, 1, 1}, {"3333", "3333", "0133"}},
        {"JumpOutsideThePicture", 3, {0, 2, 10, 10, 4, 1, 0, 1}, {"3333", "3333", "3333"}},
        {"JumpThenLineEnd", 3, {0, 2, 3, 0, 1, 2, 0, 0, 1, 1, 0, 1}, {"3333", "1333", "3332"}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
