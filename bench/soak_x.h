// The soak runs' X glue, and the only place they start an X server or run
// xdotool: an Xvfb display of the run's own, the windows on it, clicks at
// twip positions of the console's client area, and a picture of a window.
// Starting the display is one call (booStart), so that a display helper
// shared with the other drivers of the staged console can take its place.
#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>
#include <string>

namespace soak {

class XDisplay {
public:
    XDisplay() = default;
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // Starts Xvfb on the first free display number from a base of the
    // process's own; false with the reason (a missing tool is named).
    bool booStart(QString& sWhy);
    const QString& name() const { return sDisplay_; }

    // Runs xdotool on the display; its standard output.
    std::string sXdo(const QStringList& args, int* piExit = nullptr) const;
    // The first visible window titled exactly sTitle, or empty.
    QString sWindowTitled(const QString& sTitle) const;
    QString sWindowName(const QString& sId) const;
    // Focuses the window and presses the key there.
    void vKeyTo(const QString& sId, const QString& sKey) const;
    // The top-left corner of the process's 1024 x 768 main window.
    bool booMainWindowAt(qint64 lPid, int& x, int& y) const;
    // A left click at a point given in twips of the client area at (x0, y0).
    void vClickTwips(int x0, int y0, int lLeftTw, int lTopTw) const;
    // Saves a picture of the window (ImageMagick's import); false without it.
    bool booSnapshot(const QString& sId, const QString& sPng) const;

private:
    QProcess xvfb_;
    QString sDisplay_;
};

}  // namespace soak
