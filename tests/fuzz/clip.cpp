// A clip from the Animation folder: read, checked and decoded once when it
// loads; a clip that loaded then plays through and starts over.
#include <cstdlib>

#include "ui/avi_clip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AviClip clip;
    if (!clip.load(std::vector<uint8_t>(data, data + size))) return 0;
    for (int i = 0; i <= clip.frameCount(); ++i) {
        if (!clip.decodeNext()) std::abort();  // every frame of a loaded clip decodes
    }
    return 0;
}
