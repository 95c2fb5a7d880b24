// The click sound: never blocks the operator, one sound at a time, silent
// when the file is missing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSoundEffect>

#include "platform/play_sound.h"
#include "tests/support/temp_dir.h"

// A short WAV file: 8 kHz, 8-bit mono, 80 samples of silence.
static std::string sTinyWav() {
    auto le = [](uint32_t v, int n) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}.substr(0, n); };
    return "RIFF" + le(116, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(8000, 4) + le(1, 2) +
           le(8, 2) + "data" + le(80, 4) + std::string(80, char(0x80));
}

TEST(PlaySound, OneSoundAtATimeAndNothingForAMissingFile) {
    const auto effects = [] { return QCoreApplication::instance()->findChildren<QSoundEffect*>(); };
    zyrtest::TempDir dir;
    for (const std::string& s : {dir.file("absent.wav"), dir.path(), std::string()})
        platform::PlaySoundFileAsync(s.c_str());
    platform::PlaySoundFileAsync(nullptr);
    EXPECT_TRUE(effects().isEmpty()) << "nothing was set up to play";
    zyrtest::writeBytes(dir.file("click.wav"), sTinyWav());
    zyrtest::writeBytes(dir.file("junk.wav"), "not a sound at all");
    for (const char* s : {"junk.wav", "click.wav", "click.wav"}) platform::PlaySoundFileAsync(dir.file(s).c_str());
    QCoreApplication::processEvents();
    ASSERT_EQ(effects().size(), 1) << "a new click replaces the sound still playing";
    EXPECT_EQ(effects()[0]->source().toLocalFile().toStdString(), dir.file("click.wav"));
    platform::PlaySoundFileAsync(nullptr);  // only stops
    QCoreApplication::processEvents();
    EXPECT_FALSE(effects()[0]->isPlaying());
}
