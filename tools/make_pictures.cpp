// Draws the console's numbered pictures into <out>/bitmap/<n>.png and
// <out>/icon/<n>.png and writes <out>/pictures.qrc listing them.
// Usage: zyr_make_pictures <out folder>   (needs QT_QPA_PLATFORM=offscreen)
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>
#include <cstdio>

#include "resources/picture_catalog.h"
#include "tools/make_pictures.h"

namespace pics {

QFont fontPx(int px, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
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

}  // namespace pics

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <out folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("bitmap")) || !out.mkpath(QStringLiteral("icon"))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    QString qrc;
    QTextStream q(&qrc);
    q << "<RCC>\n  <qresource prefix=\"/pictures\">\n";
    for (const tPictureEntry& e : kPictureCatalog) {
        QImage img(e.lWidth, e.lHeight, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        if (!pics::booDrawPicture(e.lNo, img)) {
            std::fprintf(stderr, "no drawing for picture %d\n", e.lNo);
            return 1;
        }
        const QString rel = QStringLiteral("%1/%2.png").arg(e.booIcon ? "icon" : "bitmap").arg(e.lNo);
        if (!img.save(out.filePath(rel), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(rel)));
            return 1;
        }
        q << "    <file>" << rel << "</file>\n";
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
