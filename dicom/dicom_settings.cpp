#include "dicom/dicom_settings.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <tuple>

#include "dicom/vr_rules.h"
#include "platform/profile_string.h"

namespace {
constexpr const char* kSection = "DICOM";

std::string sTrimmed(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::string sRead(const std::string& sIni, const char* sKey) {
    char buf[1024] = {};
    platform::GetPrivateProfileStringA(kSection, sKey, "", buf, sizeof buf, sIni.c_str());
    return sTrimmed(buf);
}

// An AE title: 1 to 16 characters of the default repertoire, no backslash,
// not only blanks.
bool booValidAE(const std::string& s) {
    if (s.empty() || s.size() > 16) return false;
    for (unsigned char c : s)
        if (c < 0x20 || c > 0x7e || c == '\\') return false;
    return true;
}

bool booFlag(const std::string& sIni, const char* sKey, bool& booOut, std::string& sWhy) {
    const std::string s = sRead(sIni, sKey);
    if (s.empty() || s == "0") {
        booOut = false;
        return true;
    }
    if (s == "1") {
        booOut = true;
        return true;
    }
    sWhy = std::string("[DICOM] ") + sKey + "=" + s + ": write 0 or 1";
    return false;
}
}  // namespace

bool booParsePeer(const std::string& sText, tDicomPeer& tPeer, std::string& sWhy) {
    const std::string s = sTrimmed(sText);
    const auto at = s.find('@');
    const auto colon = s.rfind(':');
    if (at == std::string::npos || colon == std::string::npos || colon < at) {
        sWhy = "\"" + s + "\" is not AE@host:port";
        return false;
    }
    tDicomPeer t;
    t.sAE = s.substr(0, at);
    t.sHost = s.substr(at + 1, colon - at - 1);
    const std::string sPort = s.substr(colon + 1);
    if (!booValidAE(t.sAE)) {
        sWhy = "\"" + t.sAE + "\" is not an AE title (1 to 16 characters, no backslash)";
        return false;
    }
    if (t.sHost.empty()) {
        sWhy = "\"" + s + "\" names no host";
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long lPort = sPort.empty() ? 0 : std::strtol(sPort.c_str(), &end, 10);
    if (sPort.empty() || errno != 0 || *end != '\0' || lPort < 1 || lPort > 65535) {
        sWhy = "\"" + sPort + "\" is not a port (1 to 65535)";
        return false;
    }
    t.iPort = static_cast<int>(lPort);
    tPeer = t;
    return true;
}

bool booReadDicomSettings(const std::string& sIni, const std::string& sProgramFolder,
                          tDicomSettings& t, std::string& sWhy) {
    t = tDicomSettings{};
    if (!booFlag(sIni, "Enabled", t.booEnabled, sWhy)) return false;
    if (!t.booEnabled) return true;
    if (!booFlag(sIni, "Commit", t.booCommit, sWhy)) return false;

    const std::string sAE = sRead(sIni, "StationAE");
    if (!sAE.empty()) t.sStationAE = sAE;
    if (!booValidAE(t.sStationAE)) {
        sWhy = "[DICOM] StationAE=" + sAE + ": 1 to 16 characters, no backslash";
        return false;
    }
    // Texts that go into every object: a value the archive would refuse is
    // caught here.
    t.sStationName = sRead(sIni, "StationName");
    t.sInstitution = sRead(sIni, "Institution");
    for (auto [sKey, sValue, pCheck] : {std::tuple{"StationName", &t.sStationName, &sCheckSH},
                                        std::tuple{"Institution", &t.sInstitution, &sCheckLO}}) {
        const std::string sRule = sValue->empty() ? std::string() : pCheck(*sValue);
        if (!sRule.empty()) {
            sWhy = std::string("[DICOM] ") + sKey + ": " + sRule;
            return false;
        }
    }

    // A point is the decimal mark whatever the operator's locale says.
    const std::string sSpacing = sRead(sIni, "PixelSpacing");
    double d = 0.0;
    const auto [pEnd, ec] = std::from_chars(sSpacing.data(), sSpacing.data() + sSpacing.size(), d);
    if (sSpacing.empty() || ec != std::errc() || pEnd != sSpacing.data() + sSpacing.size() || !std::isfinite(d) ||
        d <= 0.0 || d > 10.0) {
        sWhy = sSpacing.empty() ? "[DICOM] PixelSpacing missing: the pixel size at the detector in mm"
                                : "[DICOM] PixelSpacing=" + sSpacing + ": a size in mm above 0 and at most 10";
        return false;
    }
    t.dPixelSpacing = d;

    for (auto [sKey, pPeer] : {std::pair{"Store", &t.tStore}, std::pair{"Worklist", &t.tWorklist}}) {
        const std::string s = sRead(sIni, sKey);
        std::string sPeerWhy;
        if (!s.empty() && !booParsePeer(s, *pPeer, sPeerWhy)) {
            sWhy = std::string("[DICOM] ") + sKey + ": " + sPeerWhy;
            return false;
        }
    }

    t.sSpool = sRead(sIni, "Spool");
    if (t.sSpool.empty()) t.sSpool = "spool";
    if (t.sSpool.front() != '/') t.sSpool = sProgramFolder + "/" + t.sSpool;
    while (t.sSpool.size() > 1 && t.sSpool.back() == '/') t.sSpool.pop_back();
    return true;
}
