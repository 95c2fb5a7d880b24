#include "resources/pictures.h"

#include <QFile>
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

QString sKindFolder(ePictureKind kind) {
    switch (kind) {
        case ePictureKind::Bitmap: return QStringLiteral(":/pictures/bitmap/");
        case ePictureKind::Icon: return QStringLiteral(":/pictures/icon/");
        case ePictureKind::Cursor: return QStringLiteral(":/pictures/cursor/");
    }
    return {};
}

}  // namespace

QPixmap pResourcePicture(ePictureKind kind, int32_t lNo) {
    vInitPictureResources();
    const QString path = sKindFolder(kind) + QString::number(lNo) + QStringLiteral(".png");
    QPixmap pic;
    if (QFile::exists(path)) pic.load(path, "PNG");
    return pic;
}
