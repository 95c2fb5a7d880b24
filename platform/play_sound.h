#pragma once

namespace platform {
// Plays a WAV file asynchronously; every error is ignored.
void PlaySoundFileAsync(const char* path);
}  // namespace platform
