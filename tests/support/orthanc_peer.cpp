#include "tests/support/orthanc_peer.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace zyrtest {
namespace {

constexpr const char* kOrthanc = "/usr/sbin/Orthanc";

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

OrthancPeer::OrthancPeer(tOrthancOptions t) : t_(std::move(t)) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zyrpan-orthanc-XXXXXX").string();
    if (mkdtemp(tmpl.data()) != nullptr) sDir_ = tmpl;
    iDicom_ = iFreePort();
    do {
        iHttp_ = iFreePort();
    } while (iHttp_ == iDicom_);

    std::string sExtra = "{" + t_.sExtraJson + "}";
    for (auto at = sExtra.find("@FOLDER@"); at != std::string::npos; at = sExtra.find("@FOLDER@", at + sDir_.size()))
        sExtra.replace(at, 8, sDir_);
    const QJsonObject extra = QJsonDocument::fromJson(QByteArray::fromStdString(sExtra)).object();
    QJsonArray plugins;
    for (const auto& p : t_.plugins) plugins.append(q(p));
    QJsonObject modalities;
    for (const auto& m : t_.modalities) modalities[q(m.sName)] = QJsonArray{q(m.sAE), q(m.sHost), m.iPort};
    QJsonObject j{{"Name", "zyrpan-test"}, {"StorageDirectory", q(sDir_ + "/storage")},
                  {"IndexDirectory", q(sDir_ + "/index")}, {"DicomAet", q(t_.sAE)},
                  {"DicomPort", iDicom_}, {"HttpPort", iHttp_}, {"RemoteAccessAllowed", false},
                  {"AuthenticationEnabled", false}, {"DicomCheckCalledAet", true}, {"KeepAlive", false},
                  {"HttpThreadsCount", 4}, {"SaveJobs", false}, {"StableAge", 1}, {"DicomScpTimeout", 10},
                  {"Plugins", plugins}, {"DicomModalities", modalities}};
    for (auto it = extra.begin(); it != extra.end(); ++it) j[it.key()] = it.value();  // the test's word wins
    writeBytes(sDir_ + "/orthanc.json", QJsonDocument(j).toJson().toStdString());
}

OrthancPeer::~OrthancPeer() {
    vStop();
    std::error_code ec;
    if (!sDir_.empty()) std::filesystem::remove_all(sDir_, ec);
}

bool OrthancPeer::booStart(std::string& sWhy, int iTimeoutMs) {
    if (access(kOrthanc, X_OK) != 0) {
        sWhy = std::string(kOrthanc) + " is missing (Debian's orthanc package)";
        return false;
    }
    if (pid_ > 0) return true;
    pid_ = pidSpawn({kOrthanc, "--no-jobs", sDir_ + "/orthanc.json"}, sDir_ + "/orthanc.log");
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(iTimeoutMs);
    std::string sBody;
    while (std::chrono::steady_clock::now() < end) {
        if (iGet("/system", sBody) == 200) return true;
        int st = 0;
        if (waitpid(pid_, &st, WNOHANG) == pid_) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    vKill();
    sWhy = "Orthanc did not answer on port " + std::to_string(iHttp_) + "; its log ends:\n" + sLog();
    return false;
}

void OrthancPeer::vEnd(int iSignal) { vEndChild(pid_, iSignal, 20000); }

void OrthancPeer::vStop() { vEnd(SIGTERM); }
void OrthancPeer::vKill() { vEnd(SIGKILL); }

std::string OrthancPeer::sLog() const {
    const std::string s = readBytes(sDir_ + "/orthanc.log");
    return s.size() > 3000 ? s.substr(s.size() - 3000) : s;
}

int OrthancPeer::iGet(const std::string& sPath, std::string& sBody) const {
    return iRequest("GET", sPath, "", sBody);
}

int OrthancPeer::iRequest(const std::string& sMethod, const std::string& sPath, const std::string& sSend,
                          std::string& sBody) const {
    sBody.clear();
    const int fd = iConnectLoopback(iHttp_);
    if (fd < 0) return 0;
    timeval tv{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    const std::string rq = sMethod + " " + sPath + " HTTP/1.0\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
                           "Content-Length: " + std::to_string(sSend.size()) + "\r\n\r\n" + sSend;
    std::string sAll;
    if (write(fd, rq.data(), rq.size()) == static_cast<ssize_t>(rq.size())) {
        char buf[8192];
        ssize_t n;
        while ((n = read(fd, buf, sizeof buf)) > 0) sAll.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    const auto head = sAll.find("\r\n\r\n");
    if (sAll.rfind("HTTP/1.", 0) != 0 || head == std::string::npos || sAll.size() < 12) return 0;
    sBody = sAll.substr(head + 4);
    return std::atoi(sAll.substr(9, 3).c_str());
}

std::vector<std::string> OrthancPeer::instanceIds() const {
    std::string s;
    std::vector<std::string> v;
    if (iGet("/instances", s) != 200) return v;
    for (const auto& x : QJsonDocument::fromJson(QByteArray::fromStdString(s)).array())
        v.push_back(x.toString().toStdString());
    return v;
}

std::string OrthancPeer::sTag(const std::string& sId, const std::string& sKeyword) const {
    std::string s;
    if (iGet("/instances/" + sId + "/simplified-tags", s) != 200) return {};
    return QJsonDocument::fromJson(QByteArray::fromStdString(s)).object().value(QString::fromStdString(sKeyword))
        .toString().toStdString();
}

std::vector<std::string> OrthancPeer::storedSopInstanceUids() const {
    std::vector<std::string> v;
    for (const auto& id : instanceIds()) v.push_back(sTag(id, "SOPInstanceUID"));
    return v;
}

}  // namespace zyrtest
