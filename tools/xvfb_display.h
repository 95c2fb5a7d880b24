// An X display of its own for a program driven from outside with xdotool
// (the end-to-end tests, the idle CPU bench): Xvfb on the first free display
// number from a start on, ready once a client gets through. -noreset keeps
// the server from resetting when that probing client leaves, which would
// refuse the program connecting right after it. Stopped when destroyed.
#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>

class XvfbDisplay {
public:
    XvfbDisplay() = default;
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;
    ~XvfbDisplay();

    // Starts the server from display number iFirst on; false with the reason
    // (a missing Xvfb or xdotool is named) in sError.
    bool booStart(int iFirst, QString& sError);
    // ":N" once started.
    const QString& name() const { return sName_; }
    // Runs xdotool on this display: its exit code (-1 when it did not end
    // within 10 s), its output in *psOut.
    int iXdo(const QStringList& args, QString* psOut = nullptr) const;

private:
    QProcess xvfb_;
    QString sName_;
};
