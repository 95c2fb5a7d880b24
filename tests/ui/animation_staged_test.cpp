// The console's own clips, as the build stages them in the Animation
// folder beside the program: run-length coded, sized for their areas,
// short loops that move.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <cstdlib>

#include "ui/avi_clip.h"

namespace {

std::string animationFolder() {
    const char* stage = std::getenv("ZYR_STAGE_DIR");
    const QString base = stage != nullptr ? QString::fromLocal8Bit(stage)
                                          : QCoreApplication::applicationDirPath() + "/../stage";
    return QDir(base).filePath("Animation").toStdString();
}

struct tStaged {
    const char* name;
    int width;
    int height;
};

class StagedClip : public ::testing::TestWithParam<tStaged> {};

TEST_P(StagedClip, IsAShortRunLengthLoopThatFitsItsArea) {
    const tStaged& s = GetParam();
    AviClip clip;
    std::string why;
    ASSERT_TRUE(clip.loadFile(animationFolder() + "/" + s.name + ".avi", &why)) << why;
    EXPECT_EQ(clip.compression(), AviClip::kBiRle8);
    EXPECT_EQ(clip.bitCount(), 8);
    EXPECT_EQ(clip.width(), s.width);
    EXPECT_EQ(clip.height(), s.height);
    EXPECT_GE(clip.frameCount(), 8);
    EXPECT_LE(clip.frameCount(), 16);
    EXPECT_GE(clip.frameDelayMs(), 100);
    EXPECT_LE(clip.frameDelayMs(), 150);

    // Drawn on the console's light colour, so the clip sits in its area
    // without a seam; and it moves: no two neighbouring frames alike.
    const std::vector<QImage> frames = clip.decodeAll();
    ASSERT_EQ(static_cast<int>(frames.size()), clip.frameCount());
    EXPECT_EQ(frames[0].pixel(0, 0) & 0xFFFFFFu, qRgb(178, 227, 221) & 0xFFFFFFu);
    for (size_t f = 0; f < frames.size(); ++f)
        EXPECT_NE(frames[f], frames[(f + 1) % frames.size()]) << "frame " << f;
}

INSTANTIATE_TEST_SUITE_P(Console, StagedClip,
                         ::testing::Values(tStaged{"START", 180, 140}, tStaged{"STARTIMG", 400, 140},
                                           tStaged{"TAKEIMG", 400, 140}, tStaged{"GETIMG", 400, 140},
                                           tStaged{"PROIMG", 400, 140}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
