// The animation area as the console drives it: open with and without play
// on open, looping, stop, close, a failed open, and what is on screen.
#include <gtest/gtest.h>

#include <QMetaObject>
#include <QTemporaryDir>
#include <QTimer>

#include "tests/ui/animation_riff.h"
#include "ui/animation_widget.h"

using namespace animtest;

namespace {

const QColor kLight(178, 227, 221);
const std::vector<QRgb> kColours = {qRgb(250, 0, 0), qRgb(0, 250, 0), qRgb(0, 0, 250), qRgb(250, 250, 0)};

// Four 8 x 6 frames, frame f painted all over with colour f, 125 ms apart.
Bytes fourFrameClip() {
    std::vector<Bytes> movie;
    for (uint8_t f = 0; f < 4; ++f) movie.push_back(chunk("00dc", rgbFrame(8, 6, 8, [f](int, int) { return f; })));
    return clipFile(strf(8, 6, 8, 0, kColours), movie, 125000);
}

class AnimationArea : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        clipPath = dir.filePath("CLIP.avi").toStdString();
        ASSERT_TRUE(writeFile(clipPath, fourFrameClip()));
        brokenPath = dir.filePath("BROKEN.avi").toStdString();
        Bytes broken = fourFrameClip();
        broken.resize(broken.size() - 3);
        ASSERT_TRUE(writeFile(brokenPath, broken));
        area.resize(20, 16);
        area.setBackColor(kLight);
    }

    // One tick of the area's frame timer, without waiting for it.
    void tick() {
        QTimer* timer = area.findChild<QTimer*>();
        ASSERT_NE(timer, nullptr);
        ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    }

    QRgb shownAt(int x, int y) { return rgbAt(area.grab().toImage(), x, y); }

    QTemporaryDir dir;
    std::string clipPath;
    std::string brokenPath;
    AnimationWidget area;
};

TEST_F(AnimationArea, PlayOnOpenLoopsForeverAtTheClipsFrameTime) {
    area.setAutoPlay(true);
    ASSERT_TRUE(area.Open(clipPath));
    EXPECT_TRUE(area.isOpen());
    EXPECT_TRUE(area.isPlaying());
    EXPECT_EQ(area.frameCount(), 4);
    EXPECT_EQ(area.frameDelayMs(), 125);
    EXPECT_EQ(area.findChild<QTimer*>()->interval(), 125);
    EXPECT_EQ(area.currentFrame(), 0);
    for (int step = 1; step <= 9; ++step) {
        tick();
        EXPECT_EQ(area.currentFrame(), step % 4);
        EXPECT_EQ(rgbAt(area.currentImage(), 3, 3), kColours[step % 4]);
    }
    EXPECT_TRUE(area.isPlaying());
}

TEST_F(AnimationArea, WithoutPlayOnOpenTheFirstFrameStandsUntilPlay) {
    ASSERT_TRUE(area.Open(clipPath));
    EXPECT_FALSE(area.isPlaying());
    EXPECT_EQ(area.currentFrame(), 0);
    EXPECT_EQ(shownAt(10, 8), kColours[0]);
    area.Play();
    EXPECT_TRUE(area.isPlaying());
    tick();
    EXPECT_EQ(area.currentFrame(), 1);
}

TEST_F(AnimationArea, PlayStartsAgainFromTheFirstFrame) {
    area.setAutoPlay(true);
    ASSERT_TRUE(area.Open(clipPath));
    tick();
    tick();
    area.Play();
    EXPECT_EQ(area.currentFrame(), 0);
}

TEST_F(AnimationArea, StopKeepsTheFrameOnShow) {
    area.setAutoPlay(true);
    ASSERT_TRUE(area.Open(clipPath));
    tick();
    tick();
    area.Stop();
    EXPECT_FALSE(area.isPlaying());
    EXPECT_TRUE(area.isOpen());
    EXPECT_EQ(area.currentFrame(), 2);
    EXPECT_EQ(shownAt(10, 8), kColours[2]);
}

TEST_F(AnimationArea, FrameSitsInTheMiddleOverTheBackground) {
    ASSERT_TRUE(area.Open(clipPath));
    // 20 x 16 area, 8 x 6 frame: frame from (6, 5) to (13, 10).
    EXPECT_EQ(shownAt(6, 5), kColours[0]);
    EXPECT_EQ(shownAt(13, 10), kColours[0]);
    EXPECT_EQ(shownAt(5, 5), kLight.rgb());
    EXPECT_EQ(shownAt(14, 10), kLight.rgb());
    EXPECT_EQ(shownAt(0, 0), kLight.rgb());
}

TEST_F(AnimationArea, CloseClearsToTheBackgroundColour) {
    area.setAutoPlay(true);
    ASSERT_TRUE(area.Open(clipPath));
    area.Close();
    EXPECT_FALSE(area.isOpen());
    EXPECT_FALSE(area.isPlaying());
    EXPECT_EQ(area.frameCount(), 0);
    EXPECT_EQ(area.currentFrame(), -1);
    EXPECT_TRUE(area.currentImage().isNull());
    const QImage shown = area.grab().toImage();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) ASSERT_EQ(rgbAt(shown, x, y), kLight.rgb());
}

TEST_F(AnimationArea, FailedOpenStillFreesThePreviousClip) {
    for (const std::string& bad : {brokenPath, dir.filePath("MISSING.avi").toStdString(), dir.path().toStdString()}) {
        area.setAutoPlay(true);
        ASSERT_TRUE(area.Open(clipPath));
        ASSERT_TRUE(area.isPlaying());
        EXPECT_FALSE(area.Open(bad)) << bad;
        EXPECT_FALSE(area.isOpen());
        EXPECT_FALSE(area.isPlaying());
        EXPECT_EQ(area.frameCount(), 0);
        EXPECT_EQ(shownAt(10, 8), kLight.rgb());
    }
}

TEST_F(AnimationArea, CallsWithoutAClipDoNothing) {
    area.Play();
    area.Stop();
    area.Close();
    EXPECT_FALSE(area.isOpen());
    EXPECT_FALSE(area.isPlaying());
    EXPECT_EQ(area.frameDelayMs(), 0);
}

}  // namespace
