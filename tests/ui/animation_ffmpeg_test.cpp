// Clips written by the distribution's ffmpeg as uncompressed AVI (24-bit
// and 8-bit with palette, rows top-down) play with the right colours:
// ffmpeg's own decoding of the same file is the reference.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ui/animation_widget.h"
#include "ui/avi_clip.h"

namespace {

bool haveFfmpeg() {
    if (!QStandardPaths::findExecutable("ffmpeg").isEmpty()) return true;
    QProcess::execute("apt-get", {"install", "-y", "-qq", "ffmpeg"});
    return !QStandardPaths::findExecutable("ffmpeg").isEmpty();
}

bool ffmpeg(const QStringList& args) {
    QProcess p;
    p.start("ffmpeg", QStringList{"-nostdin", "-v", "error", "-y"} + args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

class FfmpegClip : public ::testing::TestWithParam<const char*> {};

TEST_P(FfmpegClip, PlaysWithTheColoursFfmpegDecodes) {
    if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg not available and could not be installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString avi = dir.filePath("clip.avi");
    const QString raw = dir.filePath("clip.rgb");
    ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-t", "1", "-c:v", "rawvideo",
                        "-pix_fmt", GetParam(), avi}));
    ASSERT_TRUE(ffmpeg({"-i", avi, "-f", "rawvideo", "-pix_fmt", "rgb24", raw}));
    QFile rawFile(raw);
    ASSERT_TRUE(rawFile.open(QIODevice::ReadOnly));
    const QByteArray reference = rawFile.readAll();

    AviClip clip;
    std::string why;
    ASSERT_TRUE(clip.loadFile(avi.toStdString(), &why)) << why;
    EXPECT_EQ(clip.width(), 64);
    EXPECT_EQ(clip.height(), 48);
    EXPECT_EQ(clip.frameCount(), 10);
    EXPECT_EQ(clip.frameDelayMs(), 100);
    EXPECT_EQ(clip.compression(), AviClip::kBiRgb);
    const std::vector<QImage> frames = clip.decodeAll();
    ASSERT_EQ(frames.size(), 10u);
    ASSERT_EQ(reference.size(), 10 * 64 * 48 * 3);
    int worst = 0;
    for (int f = 0; f < 10; ++f) {
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                const auto* want = reinterpret_cast<const uint8_t*>(reference.constData()) + ((f * 48 + y) * 64 + x) * 3;
                const QRgb got = frames[f].pixel(x, y);
                worst = std::max({worst, std::abs(qRed(got) - want[0]), std::abs(qGreen(got) - want[1]),
                                  std::abs(qBlue(got) - want[2])});
            }
        }
    }
    EXPECT_LE(worst, 2);

    AnimationWidget area;
    area.setAutoPlay(true);
    EXPECT_TRUE(area.Open(avi.toStdString()));
    EXPECT_TRUE(area.isPlaying());
}

INSTANTIATE_TEST_SUITE_P(PixelFormats, FfmpegClip, ::testing::Values("bgr24", "pal8"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
