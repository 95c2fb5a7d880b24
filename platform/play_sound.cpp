#include "platform/play_sound.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <string>

#include "platform/program_folder.h"

namespace platform {
namespace {

using ModulePlay = void (*)(const char* path);

SoundPlayer& player() {
    static SoundPlayer p;
    return p;
}

// The sound module's entry once loaded; null before the first click that
// names a file, and for good when the module is missing or broken.
ModulePlay& loadedModule() {
    static ModulePlay play = nullptr;
    return play;
}

ModulePlay soundModule() {
    static bool booTried = false;
    if (!booTried) {
        booTried = true;
        const std::string sPath = sProgramFolder() + "/libzyrpan_sound.so";
        // Never unloaded: the sound stack keeps threads of its own.
        void* handle = dlopen(sPath.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) loadedModule() = reinterpret_cast<ModulePlay>(dlsym(handle, "zyrpan_sound_play"));
    }
    return loadedModule();
}

}  // namespace

void vSetSoundPlayer(SoundPlayer p) { player() = std::move(p); }

void PlaySoundFileAsync(const char* path) {
    if (player()) {
        player()(path);
        return;
    }
    if (QCoreApplication::instance() == nullptr) return;
    const QFileInfo file(QString::fromLocal8Bit(path != nullptr ? path : ""));
    if (path == nullptr || *path == '\0' || !file.isFile()) {
        // No file: only stop a sound still playing, without loading anything.
        if (loadedModule() != nullptr) loadedModule()("");
        return;
    }
    if (ModulePlay play = soundModule()) play(file.absoluteFilePath().toLocal8Bit().constData());
}

}  // namespace platform
