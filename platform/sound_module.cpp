// The click sound's player, built as a module of its own
// (libzyrpan_sound.so in the program folder). The console loads it on the
// first click that names a sound file, so a run without a click sound
// never loads the sound stack.
#include <QCoreApplication>
#include <QPointer>
#include <QSoundEffect>
#include <QString>
#include <QUrl>

namespace {

// One sound at a time, as with the legacy call: a new click replaces the one
// still playing. The effect belongs to the application object so that it
// goes with it.
QPointer<QSoundEffect>& current() {
    static QPointer<QSoundEffect> effect;
    return effect;
}

}  // namespace

// Plays the file (an absolute path) in the background; an empty path only
// stops the sound still playing. A file the backend cannot decode, or a
// machine without audio, just stays silent.
extern "C" __attribute__((visibility("default"))) void zyrpan_sound_play(const char* path) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    QPointer<QSoundEffect>& effect = current();
    if (effect) effect->stop();
    if (path == nullptr || *path == '\0') return;
    if (!effect) effect = new QSoundEffect(app);
    effect->setSource(QUrl::fromLocalFile(QString::fromLocal8Bit(path)));
    effect->play();
}
