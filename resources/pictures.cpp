#include "resources/pictures.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QString>

// The pictures are compiled in from a generated resource file; naming its
// initialiser here keeps the linker from dropping it out of the library.
static void vInitPictureResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(zyr_pictures);
        return true;
    }();
    (void)done;
}

namespace {

// Reads a picture of the resources as the PNG it is: letting the reader
// guess the format would load the plugin of every other picture format at
// the console's start.
QPixmap pReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QString sKindFolder(ePictureKind kind) {
    switch (kind) {
        case ePictureKind::Bitmap: return QStringLiteral(":/pictures/bitmap/");
        case ePictureKind::Icon: return QStringLiteral(":/pictures/icon/");
        case ePictureKind::Cursor: return QStringLiteral(":/pictures/cursor/");
    }
    return {};
}

}  // namespace

QPixmap pResourcePicture(ePictureKind kind, int32_t lNo, qreal dDevicePixelRatio) {
    vInitPictureResources();
    const QString base = sKindFolder(kind) + QString::number(lNo);
    const bool booDouble = dDevicePixelRatio > 1.0 && QFile::exists(base + QStringLiteral("@2x.png"));
    const QString path = base + (booDouble ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
    QPixmap pic;
    if (QFile::exists(path)) pic = pReadPng(path);
    if (!pic.isNull()) pic.setDevicePixelRatio(booDouble ? 2.0 : 1.0);
    return pic;
}

QIcon iconProgram() {
    vInitPictureResources();
    QIcon icon;
    const QString folder = QStringLiteral(":/pictures/program/");
    for (const QString& f : QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files)) {
        if (f.chopped(4).toInt() <= 64) icon.addPixmap(pReadPng(folder + f));
    }
    return icon;
}
