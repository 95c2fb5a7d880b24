#include "resources/pictures.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <algorithm>

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

std::vector<int32_t> vecPictureNumbers(ePictureKind kind) {
    vInitPictureResources();
    std::vector<int32_t> v;
    const QStringList files = QDir(sKindFolder(kind)).entryList({QStringLiteral("*.png")}, QDir::Files);
    for (const QString& f : files) {
        bool ok = false;
        const int n = f.chopped(4).toInt(&ok);
        if (ok) v.push_back(n);
    }
    std::sort(v.begin(), v.end());
    return v;
}
