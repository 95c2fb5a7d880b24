// An X display of its own for a program driven from outside (the end-to-end
// tests, the benches, the soak runs): Xvfb picks a free display number
// itself (-displayfd) and names it once it takes clients. -noreset keeps the
// server from resetting whenever its last client leaves, which would refuse
// the program connecting next. Stopped when destroyed.
#pragma once
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

class XvfbDisplay {
public:
    XvfbDisplay() = default;
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;
    ~XvfbDisplay();

    // Starts the server; false with the reason (a missing Xvfb or xdotool,
    // which drives the windows on it, is named) in sError.
    bool booStart(QString& sError);
    // ":N" once started.
    const QString& name() const { return sName_; }
    // The caller's environment for a Qt program (or a tool) on this display.
    QProcessEnvironment env() const;

private:
    QProcess xvfb_;
    QString sName_;
};
