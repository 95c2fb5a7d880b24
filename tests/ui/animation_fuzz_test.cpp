// Clip files are never trusted: cut short, with bytes flipped or with sizes
// that lie, a clip either fails to load or loads whole; it never reads or
// writes outside its memory (run these under the address sanitizer).
#include <gtest/gtest.h>

#include <random>

#include "tests/ui/animation_riff.h"
#include "tools/make_clips_avi.h"
#include "ui/avi_clip.h"

using namespace animtest;

namespace {

Bytes writerClip() {
    QList<QRgb> table = {qRgb(0, 0, 0), qRgb(200, 10, 10), qRgb(10, 200, 10), qRgb(10, 10, 200)};
    clips::tClip clip;
    QImage image(23, 9, QImage::Format_Indexed8);
    image.setColorTable(table);
    for (int f = 0; f < 4; ++f) {
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 23; ++x) image.setPixel(x, y, static_cast<uint>((x / (f + 2) + y * f) % 4));
        clip.frames.push_back(image.copy());
    }
    return clips::writeAviRle8(clip);
}

Bytes paletteChangeClip() {
    const Bytes change = {1, 1, 0, 0, 9, 8, 7, 0};
    return clipFile(strf(3, -2, 8, 0, {qRgb(1, 1, 1), qRgb(2, 2, 2)}),
                    {chunk("00dc", rgbFrame(3, 2, 8, [](int x, int) { return x % 2; })), chunk("00pc", change),
                     list("rec ", {chunk("00db", rgbFrame(3, 2, 8, [](int, int r) { return r; }))})});
}

Bytes trueColourClip() {
    return clipFile(strf(5, 3, 24, 0), {chunk("00dc", rgbFrame(5, 3, 24, [](int x, int r) { return qRgb(x, r, 9); })),
                                        chunk("JUNK", {1, 2, 3}), chunk("00dc", {})});
}

// Loads what may be garbage; when it loads, every frame must come out whole.
void loadSafely(const Bytes& bytes) {
    AviClip clip;
    if (!clip.load(bytes)) {
        EXPECT_FALSE(clip.isLoaded());
        return;
    }
    const std::vector<QImage> frames = clip.decodeAll();
    ASSERT_EQ(static_cast<int>(frames.size()), clip.frameCount());
    for (const QImage& f : frames) {
        EXPECT_EQ(f.width(), clip.width());
        EXPECT_EQ(f.height(), clip.height());
    }
}

// Offsets of the size field of every chunk and list in the file.
std::vector<size_t> sizeFields(const Bytes& b) {
    std::vector<size_t> fields;
    std::vector<std::pair<size_t, size_t>> todo = {{0, b.size()}};
    while (!todo.empty()) {
        auto [off, end] = todo.back();
        todo.pop_back();
        while (off + 8 <= end) {
            const uint32_t size = b[off + 4] | b[off + 5] << 8 | b[off + 6] << 16 | static_cast<uint32_t>(b[off + 7]) << 24;
            fields.push_back(off + 4);
            const bool isList = std::memcmp(&b[off], "RIFF", 4) == 0 || std::memcmp(&b[off], "LIST", 4) == 0;
            if (isList && off + 12 <= end) todo.push_back({off + 12, std::min(end, off + 8 + size)});
            off += 8 + size + (size & 1);
        }
    }
    return fields;
}

using Maker = Bytes (*)();

class ClipFuzz : public ::testing::TestWithParam<Maker> {};

TEST_P(ClipFuzz, TheUntouchedClipLoads) { EXPECT_TRUE(loaded(GetParam()()).isLoaded()); }

TEST_P(ClipFuzz, EveryTruncationIsRefused) {
    const Bytes whole = GetParam()();
    for (size_t n = 0; n < whole.size(); ++n) {
        AviClip clip;
        EXPECT_FALSE(clip.load(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n)))) << n;
    }
}

TEST_P(ClipFuzz, TruncationsThatFixTheRiffSizeNeverCrash) {
    const Bytes whole = GetParam()();
    for (size_t n = 12; n < whole.size(); ++n) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const uint32_t riff = static_cast<uint32_t>(n - 8);
        for (int i = 0; i < 4; ++i) cut[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
        loadSafely(cut);
    }
}

TEST_P(ClipFuzz, LyingSizesNeverCrash) {
    const Bytes whole = GetParam()();
    const uint32_t lies[] = {0, 1, 3, 7, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFF8u, 0xFFFFFFFFu};
    for (size_t field : sizeFields(whole)) {
        const uint32_t truth = whole[field] | whole[field + 1] << 8 | whole[field + 2] << 16 |
                               static_cast<uint32_t>(whole[field + 3]) << 24;
        for (uint32_t lie : {lies[0], lies[1], lies[2], lies[3], lies[4], lies[5], lies[6], lies[7], truth + 1,
                             truth - 1, truth + 2}) {
            Bytes b = whole;
            for (int i = 0; i < 4; ++i) b[field + i] = static_cast<uint8_t>(lie >> (8 * i));
            loadSafely(b);
            if (lie > b.size()) {
                AviClip clip;
                EXPECT_FALSE(clip.load(b)) << "size at " << field << " claims " << lie;
            }
        }
    }
}

TEST_P(ClipFuzz, RandomByteFlipsNeverCrash) {
    const Bytes whole = GetParam()();
    std::mt19937 rng(20240611);
    for (int round = 0; round < 1500; ++round) {
        Bytes b = whole;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < flips; ++i) b[rng() % b.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        loadSafely(b);
    }
}

std::string clipName(const ::testing::TestParamInfo<Maker>& info) {
    const char* names[] = {"RunLength", "PaletteChange", "TrueColour"};
    return names[info.index];
}

INSTANTIATE_TEST_SUITE_P(Clips, ClipFuzz, ::testing::Values(&writerClip, &paletteChangeClip, &trueColourClip),
                         clipName);

}  // namespace
