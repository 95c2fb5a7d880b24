// A program of its own, so that nothing has loaded the sound stack before:
// the click sound's module, and the sound libraries behind it, are loaded by
// the first click that names a sound file, and not by clicks without one.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/play_sound.h"
#include "platform/program_folder.h"
#include "tests/support/temp_dir.h"

namespace {

bool booMapped(const std::string& sLibrary) {
    return zyrtest::readBytes("/proc/self/maps").find(sLibrary) != std::string::npos;
}

TEST(SoundModule, LoadedByTheFirstClickThatNamesAFile) {
    const char* sStage = std::getenv("ZYR_STAGE_DIR");
    ASSERT_NE(sStage, nullptr) << "ZYR_STAGE_DIR names the staged program folder";
    platform::vSetProgramFolder(sStage);
    zyrtest::TempDir dir;
    const std::string sWav = dir.file("click.wav");
    zyrtest::writeBytes(sWav, "RIFF");  // what the file holds is the sound stack's concern
    for (const std::string& sNoFile : {std::string(), dir.file("absent.wav"), dir.path()}) {
        platform::PlaySoundFileAsync(sNoFile.c_str());
        platform::PlaySoundFileAsync(nullptr);
        EXPECT_FALSE(booMapped("libzyrpan_sound.so") || booMapped("libQt6Multimedia")) << sNoFile;
    }
    platform::PlaySoundFileAsync(sWav.c_str());
    EXPECT_TRUE(booMapped("libzyrpan_sound.so") && booMapped("libQt6Multimedia"));
}

}  // namespace
