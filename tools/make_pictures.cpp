// Draws the console's numbered pictures into <out>/bitmap/<n>.png and
// <out>/icon/<n>.png, each again at twice the pixels as <n>@2x.png for
// screens of device pixel ratio 2, the program's icon into
// <out>/program/<size>.png, and writes <out>/pictures.qrc listing them all.
// Usage: zyr_make_pictures <out folder>   (needs QT_QPA_PLATFORM=offscreen)
//
// Text is drawn with the font files of the build's own font package, and
// the machine's fonts are hidden, so that every build draws the same bytes.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "resources/picture_catalog.h"
#include "tools/make_pictures.h"

namespace pics {
namespace {
QString s_sFamily;
}

QFont fontPx(int px, bool bold) {
    QFont f(s_sFamily);
    f.setStyleStrategy(QFont::NoFontMerging);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

bool booDrawPicture(int32_t lNo, QImage& img) {
    switch (lNo) {
        case 12401: vDrawArrow(img, true); return true;
        case 12404: vDrawArrow(img, false); return true;
        case 12411: vDrawTmjMode(img, false); return true;
        case 12412: vDrawTmjMode(img, true); return true;
        case 12421: vDrawReady(img, false); return true;
        case 12422: vDrawReady(img, true); return true;
        case 12425: vDrawTextButton(img, false); return true;
        case 12428: vDrawTextButton(img, true); return true;
        case 15203: vDrawLogo(img); return true;
        case 15204: vDrawPanoramaMode(img, false, false); return true;
        case 15205: vDrawPanoramaMode(img, false, true); return true;
        case 15206: vDrawPanoramaMode(img, true, false); return true;
        case 15207: vDrawPanoramaMode(img, true, true); return true;
        default: break;
    }
    if (lNo >= 12450 && lNo <= 12459) {
        vDrawDigit(img, lNo - 12450);
        return true;
    }
    if (lNo >= 12462 && lNo <= 12469) {
        // Three faces per size: released, pressed, unavailable (the small
        // size has no unavailable face).
        const int k = lNo - 12462;
        vDrawSizeButton(img, k / 3, k % 3);
        return true;
    }
    return false;
}

// Loads the regular and bold faces from their files; false, with a message
// naming the package that holds them, when one is missing.
bool booLoadFonts() {
    for (const char* sName : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
        const QString sFile = QStringLiteral(ZYR_PICTURE_FONT_DIR "/") + QLatin1String(sName);
        const int id = QFileInfo(sFile).isFile() ? QFontDatabase::addApplicationFont(sFile) : -1;
        if (id < 0 || QFontDatabase::applicationFontFamilies(id).isEmpty()) {
            std::fprintf(stderr, "cannot load the font %s: install the Debian package fonts-dejavu-core\n",
                         qPrintable(sFile));
            return false;
        }
        s_sFamily = QFontDatabase::applicationFontFamilies(id).first();
    }
    return true;
}

}  // namespace pics

namespace {

// Fontconfig gets a configuration of no font folders at all: only the
// files loaded above can be drawn with.
bool booHideMachineFonts(const QTemporaryDir& dir) {
    QFile conf(dir.filePath(QStringLiteral("fonts.conf")));
    if (!dir.isValid() || !conf.open(QIODevice::WriteOnly)) return false;
    conf.write("<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + dir.filePath("cache").toUtf8() +
               "</cachedir></fontconfig>\n");
    conf.close();
    return qputenv("FONTCONFIG_FILE", conf.fileName().toLocal8Bit());
}

// A transparent image of that size in pixels drawn at the scale; its
// resolution is fixed so that the screen of the drawing machine leaves no
// trace in the file.
QImage blankImage(int iWidth, int iHeight, int iScale) {
    QImage img(iWidth * iScale, iHeight * iScale, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(iScale);
    img.setDotsPerMeterX(3780 * iScale);
    img.setDotsPerMeterY(3780 * iScale);
    img.fill(Qt::transparent);
    return img;
}

bool booSave(const QImage& img, const QDir& out, const QString& sRel, QTextStream& qrc) {
    if (!img.save(out.filePath(sRel), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(sRel)));
        return false;
    }
    qrc << "    <file>" << sRel << "</file>\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const QTemporaryDir fontConfigDir;
    if (!booHideMachineFonts(fontConfigDir)) {
        std::fprintf(stderr, "cannot write a font configuration\n");
        return 1;
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <out folder>\n", argv[0]);
        return 2;
    }
    if (!pics::booLoadFonts()) return 1;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const char* sSub : {"bitmap", "icon", "program"}) {
        if (!out.mkpath(QLatin1String(sSub))) {
            std::fprintf(stderr, "cannot make %s/%s\n", argv[1], sSub);
            return 1;
        }
    }
    QString qrc;
    QTextStream q(&qrc);
    q << "<RCC>\n  <qresource prefix=\"/pictures\">\n";
    for (const tPictureEntry& e : kPictureCatalog) {
        for (int scale : {1, 2}) {
            QImage img = blankImage(e.lWidth, e.lHeight, scale);
            if (!pics::booDrawPicture(e.lNo, img)) {
                std::fprintf(stderr, "no drawing for picture %d\n", e.lNo);
                return 1;
            }
            const QString sRel = QStringLiteral("%1/%2%3.png")
                                     .arg(e.booIcon ? "icon" : "bitmap")
                                     .arg(e.lNo)
                                     .arg(scale == 1 ? "" : "@2x");
            if (!booSave(img, out, sRel, q)) return 1;
        }
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImage img = blankImage(size, size, 1);
        pics::vDrawProgramIcon(img);
        if (!booSave(img, out, QStringLiteral("program/%1.png").arg(size), q)) return 1;
    }
    q << "  </qresource>\n</RCC>\n";
    q.flush();
    QSaveFile f(out.filePath(QStringLiteral("pictures.qrc")));
    if (!f.open(QIODevice::WriteOnly) || f.write(qrc.toUtf8()) < 0 || !f.commit()) {
        std::fprintf(stderr, "cannot write pictures.qrc\n");
        return 1;
    }
    return 0;
}
