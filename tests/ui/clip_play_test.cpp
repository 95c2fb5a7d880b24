// Playing clips: the animation area as the console drives it, and the clips
// the build stages for the console.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/temp_dir.h"
#include "tests/ui/clip_bytes.h"
#include "tools/make_clips_avi.h"
#include "ui/animation_widget.h"
#include "ui/avi_clip.h"

using namespace cliptest;

namespace {

const QRgb kLight = qRgb(178, 227, 221);
const std::vector<QRgb> kColours = {qRgb(250, 0, 0), qRgb(0, 250, 0), qRgb(0, 0, 250), qRgb(250, 250, 0)};

// Four 8 x 6 frames, frame f painted all over with colour f, 125 ms apart,
// in a 20 x 16 area. Catches the first frame not standing without play on
// open, a clip that does not loop or stops by itself, Play not starting
// again from the first frame, a clip moving on after Stop, a failed open
// that goes on showing or playing the clip before, the last frame left
// standing after Close, the frame drawn off the middle or paced other than
// at the clip's frame time.
TEST(AnimationArea, PlaysAsTheConsoleDrivesIt) {
    zyrtest::TempDir dir;
    std::vector<Bytes> movie;
    for (uint32_t f = 0; f < 4; ++f) movie.push_back(chunk("00dc", Bytes(48, static_cast<uint8_t>(f))));
    const Bytes clip = clipFile(strf(8, 6, 8, 0, kColours), movie, 125000);
    zyrtest::writeBytes(dir.file("CLIP.avi"), std::string(clip.begin(), clip.end()));
    zyrtest::writeBytes(dir.file("CUT.avi"), std::string(clip.begin(), clip.end() - 3));
    AnimationWidget area;
    area.resize(20, 16);
    area.setBackColor(QColor(kLight));
    auto shownAt = [&area](int x, int y) { return area.grab().toImage().pixel(x, y) | 0xFF000000u; };
    const QRgb c0 = kColours[0], c1 = kColours[1];
    // Action ("open FILE", "autoplay", "play", "stop", "close", "tick"), then playing, the frame (-1: no clip)
    // and the colour in the middle of the area.
    const std::tuple<const char*, bool, int, QRgb> steps[] = {
        {"open CLIP.avi", false, 0, c0}, {"play", true, 0, c0},           {"tick", true, 1, c1},
        {"autoplay", true, 1, c1},       {"open CLIP.avi", true, 0, c0},  {"tick", true, 1, c1},
        {"tick", true, 2, kColours[2]},  {"tick", true, 3, kColours[3]},  {"tick", true, 0, c0},
        {"tick", true, 1, c1},           {"play", true, 0, c0},           {"tick", true, 1, c1},
        {"stop", false, 1, c1},          {"play", true, 0, c0},           {"open CUT.avi", false, -1, kLight},
        {"open CLIP.avi", true, 0, c0},  {"open NONE.avi", false, -1, kLight}, {"open CLIP.avi", true, 0, c0},
        {"close", false, -1, kLight},    {"play", false, -1, kLight},     {"open CLIP.avi", true, 0, c0}};
    for (size_t i = 0; i < std::size(steps); ++i) {
        const auto& [action, playing, frame, shown] = steps[i];
        const std::string a = action;
        if (a.starts_with("open")) area.Open(dir.file(a.substr(5)));
        if (a == "autoplay") area.setAutoPlay(true);
        if (a == "play") area.Play();
        if (a == "stop") area.Stop();
        if (a == "close") area.Close();
        if (a == "tick") QMetaObject::invokeMethod(area.findChild<QTimer*>(), "timeout");
        EXPECT_EQ(std::tuple(area.isPlaying(), area.currentFrame(), shownAt(10, 8)), std::tuple(playing, frame, shown))
            << "step " << i << " " << a;
    }
    EXPECT_EQ(area.findChild<QTimer*>()->interval(), 125);
    // The frame covers (6, 5) to (13, 10).
    for (auto [x, y] : {std::pair{6, 5}, {13, 10}}) EXPECT_EQ(shownAt(x, y), c0) << x << "," << y;
    for (auto [x, y] : {std::pair{5, 5}, {6, 4}, {14, 10}, {13, 11}}) EXPECT_EQ(shownAt(x, y), kLight) << x << "," << y;
}

class StagedClip : public ::testing::TestWithParam<std::pair<const char*, QSize>> {};

// The console's own clips as the build stages them: run-length coded, the
// size of their areas, short loops drawn on the console's light colour (no
// seam in the area), moving from every frame to the next; and our writer,
// given the frames again, writes a clip that plays them exactly (a writer
// and a player that disagree about a code show on one side or the other).
TEST_P(StagedClip, IsARunLengthLoopThatFitsItsArea) {
    const char* stage = std::getenv("ZYR_STAGE_DIR");
    ASSERT_NE(stage, nullptr) << "ZYR_STAGE_DIR names the folder the build stages the program in";
    AviClip clip;
    std::string why;
    ASSERT_TRUE(clip.loadFile(std::string(stage) + "/Animation/" + GetParam().first + ".avi", &why)) << why;
    const QSize size(clip.width(), clip.height());
    // Short loops: 8 to 15 frames, 100 to 149 ms apart.
    EXPECT_EQ(std::tuple(clip.compression(), size, clip.frameCount() / 8, clip.frameDelayMs() / 50),
              std::tuple(AviClip::kBiRle8, GetParam().second, 1, 2));
    const std::vector<QImage> frames = clip.decodeAll();
    EXPECT_EQ(frames.at(0).pixel(0, 0) | 0xFF000000u, kLight);
    for (size_t f = 0; f < frames.size(); ++f) EXPECT_NE(frames[f], frames[(f + 1) % frames.size()]) << "frame " << f;
    std::vector<QImage> moved = frames;  // with changes one, two and three rows apart in the last frame
    for (int y : {1, 3, 6}) moved.back().setPixel(5, y, moved.back().pixelIndex(5, y) ^ 1);
    AviClip again;
    ASSERT_TRUE(again.load(clips::writeAviRle8({125000, moved})));
    EXPECT_EQ(again.decodeAll(), moved);
}

INSTANTIATE_TEST_SUITE_P(Console, StagedClip,
                         ::testing::Values(std::pair{"START", QSize(180, 140)}, std::pair{"STARTIMG", QSize(400, 140)},
                                           std::pair{"TAKEIMG", QSize(400, 140)}, std::pair{"GETIMG", QSize(400, 140)},
                                           std::pair{"PROIMG", QSize(400, 140)}),
                         [](const auto& info) { return std::string(info.param.first); });

}  // namespace
