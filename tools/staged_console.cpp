#include "tools/staged_console.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "platform/profile_string.h"
#include "tools/x_windows.h"

namespace {

// The title of every message box of the console.
const QString BOX_TITLE = QStringLiteral("Tolvek E");
constexpr QSize MAIN_WINDOW(1024, 768);

// What every run sets, whatever the staged defaults become.
const char* const RUN_KEYS[][3] = {{"ZYR_PAN_WEQ", "ClickSound", ""},
                                   {"ZYR_PAN_WEQ", "DefMode", "0"},
                                   {"ZYR_PAN_WEQ", "InitRetryTime_Boot", "10"},
                                   {"ZYR_PAN_WEQ", "WaitTime", "30000"},
                                   {"ZyrPan2", "Link", "sim"}};

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

bool StagedConsole::booMake(const QString& sStage, QString& sWhy) {
    if (!x_.booStart(sWhy)) return false;
    if (!dir_.isValid()) {
        sWhy = "no temporary folder: " + dir_.errorString();
        return false;
    }
    const bool booStaged = QFile::exists(sStage + "/ZYR_PAN_WEQ") && QFile::exists(sStage + "/ZYR_PAN_WEQ.ini");
    if (!booStaged || !booCopyTree(sStage, stage())) {
        sWhy = "no staged program in " + sStage + " (build the default target)";
        return false;
    }
    for (const auto& k : RUN_KEYS) {
        if (!booSet(k[0], k[1], k[2])) {
            sWhy = "the copied settings file cannot be written";
            return false;
        }
    }
    return true;
}

bool StagedConsole::booSet(const char* sSection, const char* sKey, const QString& sValue) const {
    const QByteArray ini = (stage() + "/ZYR_PAN_WEQ.ini").toUtf8();
    return platform::WritePrivateProfileStringA(sSection, sKey, sValue.toUtf8().constData(), ini.constData()) != 0;
}

QString StagedConsole::sIni(const char* sKey) const {
    const QByteArray ini = (stage() + "/ZYR_PAN_WEQ.ini").toUtf8();
    char buf[512] = {};
    platform::GetPrivateProfileStringA("ZYR_PAN_WEQ", sKey, "", buf, sizeof buf, ini.constData());
    return QString::fromUtf8(buf);
}

void StagedConsole::vSetFastExposure() const {
    for (const auto& k : FAST_EXPOSURE) booSet("ZyrPan2", k[0], k[1]);
}

QProcessEnvironment StagedConsole::env(const QString& sTmp) const {
    QProcessEnvironment env = x_.env();
    QDir().mkpath(sTmp);
    env.insert("TMPDIR", sTmp);
    if (!env.contains("XDG_RUNTIME_DIR")) {
        QDir().mkpath(sTmp + "/xdg");
        QFile::setPermissions(sTmp + "/xdg", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("XDG_RUNTIME_DIR", sTmp + "/xdg");
    }
    env.insert("LANG", "C.UTF-8");
    env.remove("LANGUAGE");
    env.remove("LC_ALL");
    return env;
}

bool StagedConsole::booLaunch(QProcess& p, const QString& sTmp) const {
    p.setProcessEnvironment(env(sTmp));
    p.setWorkingDirectory(folder());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(folder() + "/console.log", QIODevice::Append);
    p.start(program(), args);
    return p.waitForStarted(10000);
}

QString StagedConsole::sBox() const { return xwin::sTitled(x_, BOX_TITLE); }

bool StagedConsole::booConfirmBox(int iTimeoutMs) const {
    QString sId;
    if (!booWaitFor([&] { return !(sId = sBox()).isEmpty(); }, iTimeoutMs)) return false;
    xwin::vKey(x_, sId, "Return");
    return true;
}

bool StagedConsole::booStart(const QString& sTmp, QString& sWhy) {
    proc_ = std::make_unique<QProcess>();
    if (!booLaunch(*proc_, sTmp)) {
        sWhy = "the console did not start: " + proc_->errorString();
        return false;
    }
    if (fnBeforePowerOn && !fnBeforePowerOn()) {
        sWhy = "the step before power on failed";
        return false;
    }
    if (!booConfirmBox(20000)) {
        sWhy = "the console did not ask to confirm power on";
        return false;
    }
    if (!booWaitFor([&] { return xwin::booWindowOf(x_, proc_->processId(), MAIN_WINDOW, corner_); }, 15000)) {
        sWhy = "the console showed no main window";
        return false;
    }
    return true;
}

bool StagedConsole::booStartIdle(QString& sWhy) {
    if (!booSet("ZyrPan2", "CoolTimeAtStart", "0") || !booSet("ZYR_PAN_WEQ", "SaveFileName", folder() + "/idle.bmp")) {
        sWhy = "the copied settings file cannot be written";
        return false;
    }
    return booStart(folder() + "/tmp", sWhy);
}

void StagedConsole::vClickTwips(int lLeftTw, int lTopTw) const {
    xwin::vClick(x_, corner_ + QPoint(lLeftTw / 15, lTopTw / 15));
}

int StagedConsole::iWaitExit(int iTimeoutMs) {
    // (waitForFinished is false for a process that has already ended)
    if (proc_->state() != QProcess::NotRunning && !proc_->waitForFinished(iTimeoutMs)) return -1;
    return proc_->exitStatus() == QProcess::NormalExit ? proc_->exitCode() : -1;
}
