// The windows on an XvfbDisplay as a driver of the console finds and works
// them, all through xdotool (and ImageMagick's import for a picture).
#pragma once
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include "tools/xvfb_display.h"

namespace xwin {

// Runs xdotool on the display: its exit code (-1 when it did not end
// within 10 s), its output in *psOut.
int iXdo(const XvfbDisplay& x, const QStringList& args, QString* psOut = nullptr);
// The first visible window titled exactly sTitle, or empty.
QString sTitled(const XvfbDisplay& x, const QString& sTitle);
QString sName(const XvfbDisplay& x, const QString& sId);
// Focuses the window and presses the key there.
void vKey(const XvfbDisplay& x, const QString& sId, const QString& sKey);
// The top-left corner of the process's visible window of that size.
bool booWindowOf(const XvfbDisplay& x, qint64 lPid, QSize size, QPoint& corner);
// A left click at a point of the screen.
void vClick(const XvfbDisplay& x, QPoint at);
// Saves a picture of the window ("root": the whole screen); false when it
// could not (no import installed).
bool booSnapshot(const XvfbDisplay& x, const QString& sId, const QString& sPng);

}  // namespace xwin
