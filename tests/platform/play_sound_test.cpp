// The click sound: never blocks the operator, never fails, silent when the
// file is missing or cannot be played.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSoundEffect>
#include <cstdint>
#include <string>

#include "platform/play_sound.h"
#include "tests/support/temp_dir.h"

namespace {

// A short valid WAV: 8 kHz, 8-bit mono, 80 samples of silence.
std::string tinyWav() {
    auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto le16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    const std::string samples(80, char(0x80));
    std::string fmt = le16(1) + le16(1) + le32(8000) + le32(8000) + le16(1) + le16(8);
    return "RIFF" + le32(static_cast<uint32_t>(4 + 8 + fmt.size() + 8 + samples.size())) + "WAVE" + "fmt " +
           le32(static_cast<uint32_t>(fmt.size())) + fmt + "data" + le32(static_cast<uint32_t>(samples.size())) +
           samples;
}

size_t soundObjects() { return QCoreApplication::instance()->findChildren<QSoundEffect*>().size(); }

TEST(PlaySound, MissingFileOrNoNameIsSilent) {
    zyrtest::TempDir dir;
    const size_t before = soundObjects();
    platform::PlaySoundFileAsync(dir.file("absent.wav").c_str());
    platform::PlaySoundFileAsync(dir.path().c_str());  // a folder is no sound
    platform::PlaySoundFileAsync("");
    platform::PlaySoundFileAsync(nullptr);
    EXPECT_EQ(soundObjects(), before) << "nothing was set up to play";
}

TEST(PlaySound, WavFileStartsWithoutBlockingAndOneSoundAtATime) {
    zyrtest::TempDir dir;
    const std::string wav = dir.file("click.wav");
    zyrtest::writeBytes(wav, tinyWav());
    platform::PlaySoundFileAsync(wav.c_str());
    platform::PlaySoundFileAsync(wav.c_str());  // a second click replaces the first
    QCoreApplication::processEvents();
    EXPECT_EQ(soundObjects(), 1u);
    auto* effect = QCoreApplication::instance()->findChild<QSoundEffect*>();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->source().toLocalFile().toStdString(), wav);
    platform::PlaySoundFileAsync(nullptr);  // stops it
    QCoreApplication::processEvents();
    EXPECT_FALSE(effect->isPlaying());
}

TEST(PlaySound, UndecodableFileIgnoredAndNextClickStillPlays) {
    zyrtest::TempDir dir;
    const std::string junk = dir.file("junk.wav");
    const std::string wav = dir.file("click.wav");
    zyrtest::writeBytes(junk, "not a sound at all");
    zyrtest::writeBytes(wav, tinyWav());
    platform::PlaySoundFileAsync(junk.c_str());
    QCoreApplication::processEvents();
    platform::PlaySoundFileAsync(wav.c_str());
    auto* effect = QCoreApplication::instance()->findChild<QSoundEffect*>();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->source().toLocalFile().toStdString(), wav);
    platform::PlaySoundFileAsync(nullptr);
}

}  // namespace
