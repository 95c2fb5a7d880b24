#include "platform/play_sound.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace platform {
namespace {

// One sound at a time, as with the legacy call: a new click replaces the one
// still playing. The effect belongs to the application object so that it
// goes with it.
QPointer<QSoundEffect>& current() {
    static QPointer<QSoundEffect> effect;
    return effect;
}

SoundPlayer& player() {
    static SoundPlayer p;
    return p;
}

}  // namespace

void vSetSoundPlayer(SoundPlayer p) { player() = std::move(p); }

void PlaySoundFileAsync(const char* path) {
    if (player()) {
        player()(path);
        return;
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    QPointer<QSoundEffect>& effect = current();
    if (effect) effect->stop();
    if (path == nullptr || *path == '\0') return;  // no file: only stop
    const QString file = QString::fromLocal8Bit(path);
    if (!QFileInfo(file).isFile()) return;
    if (!effect) effect = new QSoundEffect(app);
    // Loading and playing run in the background; a file the backend cannot
    // decode, or a machine without audio, just stays silent.
    effect->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    effect->play();
}

}  // namespace platform
