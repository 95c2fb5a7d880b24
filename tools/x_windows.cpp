#include "tools/x_windows.h"

#include <QMap>
#include <QProcess>
#include <QStandardPaths>

namespace xwin {

int iXdo(const XvfbDisplay& x, const QStringList& args, QString* psOut) {
    QProcess p;
    p.setProcessEnvironment(x.env());
    p.start("xdotool", args);
    const bool booDone = p.waitForFinished(10000);
    if (psOut != nullptr) *psOut = QString::fromLocal8Bit(p.readAllStandardOutput());
    return booDone && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QString sTitled(const XvfbDisplay& x, const QString& sTitle) {
    QString sIds;
    iXdo(x, {"search", "--onlyvisible", "--name", "^" + sTitle + "$"}, &sIds);
    return sIds.split('\n', Qt::SkipEmptyParts).value(0);
}

QString sName(const XvfbDisplay& x, const QString& sId) {
    QString s;
    iXdo(x, {"getwindowname", sId}, &s);
    return s.trimmed();
}

void vKey(const XvfbDisplay& x, const QString& sId, const QString& sKey) {
    iXdo(x, {"windowfocus", "--sync", sId});
    iXdo(x, {"key", "--clearmodifiers", sKey});
}

bool booWindowOf(const XvfbDisplay& x, qint64 lPid, QSize size, QPoint& corner) {
    QString sIds, sGeo;
    iXdo(x, {"search", "--onlyvisible", "--pid", QString::number(lPid)}, &sIds);
    for (const QString& sId : sIds.split('\n', Qt::SkipEmptyParts)) {
        iXdo(x, {"getwindowgeometry", "--shell", sId}, &sGeo);  // X=, Y=, WIDTH=, HEIGHT= lines
        QMap<QString, int> g;
        for (const QString& sLine : sGeo.split('\n')) g[sLine.section('=', 0, 0)] = sLine.section('=', 1).toInt();
        if (QSize(g["WIDTH"], g["HEIGHT"]) != size) continue;
        corner = QPoint(g["X"], g["Y"]);
        return true;
    }
    return false;
}

void vClick(const XvfbDisplay& x, QPoint at) {
    iXdo(x, {"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

bool booSnapshot(const XvfbDisplay& x, const QString& sId, const QString& sPng) {
    if (QStandardPaths::findExecutable("import").isEmpty()) return false;
    QProcess p;
    p.setProcessEnvironment(x.env());
    p.start("import", {"-window", sId, sPng});
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace xwin
