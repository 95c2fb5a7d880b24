#include "bench/soak_console.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "platform/profile_string.h"

namespace soak {
namespace {

// The centre of READY in the client area, twips.
constexpr int READY_X = 10320 + 1350, READY_Y = 6000 + 1050;

// The embedded unit and the sensor, fast: READY to the bitmap in seconds.
const char* const FAST_EXPOSURE[][2] = {
    {"AnswerDelay", "50"}, {"MoveTime", "300"}, {"ReadyTime", "300"}, {"HandSwitchDelay", "300"},
    {"XrayDelay", "100"},  {"XrayOn", "600"},   {"XrayGap", "100"},   {"CoolTime", "0"},
    {"CoolTimeAtStart", "0"}, {"ImageBinning", "1"}};

bool booCopyTree(const QString& sFromGiven, const QString& sTo) {
    // Absolute, or relativeFilePath would take the iterator's relative paths
    // as relative to the folder itself.
    const QString sFrom = QDir(sFromGiven).absolutePath();
    QDir().mkpath(sTo);
    QDirIterator it(sFrom, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString s = it.next();
        const QString sRel = QDir(sFrom).relativeFilePath(s);
        if (it.fileInfo().isDir()) QDir().mkpath(sTo + "/" + sRel);
        else if (!QFile::copy(s, sTo + "/" + sRel)) return false;
    }
    return true;
}

qint64 llSize(const QString& sPath) { return QFileInfo(sPath).size(); }

}  // namespace

bool booWaitFor(const std::function<bool()>& pred, int iTimeoutMs, int iStepMs) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > iTimeoutMs) return false;
        QThread::msleep(static_cast<unsigned long>(iStepMs));
    }
    return true;
}

bool StagedConsole::booMake(const QString& sStage, const QString& sFolder, QString& sWhy) {
    sFolder_ = QDir(sFolder).absolutePath();
    sStage_ = sFolder_ + "/stage";
    if (!QFile::exists(sStage + "/ZYR_PAN_WEQ") || !booCopyTree(sStage, sStage_)) {
        sWhy = "no staged program in " + sStage + " (build the default target)";
        return false;
    }
    vSet("ZYR_PAN_WEQ", "ClickSound", "");
    vSet("ZYR_PAN_WEQ", "DefMode", "0");
    vSet("ZYR_PAN_WEQ", "InitRetryTime_Boot", "10");
    vSet("ZYR_PAN_WEQ", "WaitTime", "30000");
    vSet("ZyrPan2", "Trace", tracePath());
    return true;
}

void StagedConsole::vSet(const char* sSection, const char* sKey, const QString& sValue) const {
    const QByteArray ini = (sStage_ + "/ZYR_PAN_WEQ.ini").toUtf8();
    platform::WritePrivateProfileStringA(sSection, sKey, sValue.toUtf8().constData(), ini.constData());
}

void StagedConsole::vSetFastExposure() const {
    for (const auto& k : FAST_EXPOSURE) vSet("ZyrPan2", k[0], k[1]);
}

bool StagedConsole::booStart(const XDisplay& x, const QString& sTmp, QString& sWhy) {
    QDir().mkpath(sTmp + "/xdg");
    QFile::setPermissions(sTmp + "/xdg", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    proc_ = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.name());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("TMPDIR", sTmp);
    env.insert("XDG_RUNTIME_DIR", sTmp + "/xdg");
    env.insert("LANG", "C.UTF-8");
    env.remove("LANGUAGE");
    env.remove("LC_ALL");
    proc_->setProcessEnvironment(env);
    proc_->setWorkingDirectory(sFolder_);
    proc_->setStandardOutputFile(QProcess::nullDevice());
    proc_->setStandardErrorFile(sFolder_ + "/console.log", QIODevice::Append);
    proc_->start(sStage_ + "/ZYR_PAN_WEQ", {});
    if (!proc_->waitForStarted(10000)) {
        sWhy = "the console did not start: " + proc_->errorString();
        return false;
    }
    QString sBox;
    if (!booWaitFor([&] { return !(sBox = x.sWindowTitled("Tolvek E")).isEmpty(); }, 20000)) {
        sWhy = "the console did not ask to confirm power on";
        return false;
    }
    x.vKeyTo(sBox, "Return");
    if (!booWaitFor([&] { return x.booMainWindowAt(proc_->processId(), x0_, y0_); }, 15000)) {
        sWhy = "the console showed no main window";
        return false;
    }
    return true;
}

bool StagedConsole::booPressReady(const XDisplay& x, int iTimeoutMs) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < iTimeoutMs && proc_->state() == QProcess::Running) {
        const qint64 llFrom = llSize(tracePath());
        x.vClickTwips(x0_, y0_, READY_X, READY_Y);
        // A click while READY is still disabled is simply lost.
        const bool booSent = booWaitFor(
            [&] {
                QFile f(tracePath());
                if (!f.open(QIODevice::ReadOnly) || !f.seek(llFrom)) return false;
                return f.readAll().contains("[STX]NP_");
            },
            1500);
        if (booSent) return true;
    }
    return false;
}

int StagedConsole::iWaitExit(int iTimeoutMs) {
    // (waitForFinished is false for a process that has already ended)
    if (proc_->state() != QProcess::NotRunning && !proc_->waitForFinished(iTimeoutMs)) return -1;
    return proc_->exitStatus() == QProcess::NormalExit ? proc_->exitCode() : -1;
}

}  // namespace soak
