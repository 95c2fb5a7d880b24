#pragma once
#include <functional>

namespace platform {
// Plays a WAV file asynchronously; every error is ignored. An empty or null
// path only stops the sound still playing.
void PlaySoundFileAsync(const char* path);

// Tests put a recorder in place of the sound output (empty = the real one).
using SoundPlayer = std::function<void(const char* path)>;
void vSetSoundPlayer(SoundPlayer player);
}  // namespace platform
