#include "sim/film_data.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace sim {
namespace {

constexpr const char* kMagic = "ZYRFILM";
constexpr size_t kMaxFileBytes = 1 << 20;  // a profile of 20 s at 1 ms steps fits many times

// A whole decimal number that fits 32 bits, nothing else.
bool booParseInt(const std::string& sTok, int32_t& lValue)
{
    if (sTok.empty()) return false;
    char* pEnd = nullptr;
    errno = 0;
    const long long ll = std::strtoll(sTok.c_str(), &pEnd, 10);
    if (errno != 0 || pEnd == sTok.c_str() || *pEnd != '\0') return false;
    if (ll < INT32_MIN || ll > INT32_MAX) return false;
    lValue = static_cast<int32_t>(ll);
    return true;
}

std::vector<std::string> tokensOf(const std::string& sLine)
{
    std::string s = sLine;
    const size_t hash = s.find('#');
    if (hash != std::string::npos) s.erase(hash);
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string t; in >> t;) out.push_back(t);
    return out;
}

// The value of a key that takes exactly one token, given once.
bool booSingle(const std::vector<std::string>& toks, bool& booSeen)
{
    if (toks.size() != 2 || booSeen) return false;
    booSeen = true;
    return true;
}

int32_t lParseLines(const std::string& sText, FilmData& f)
{
    std::istringstream in(sText);
    bool booMagic = false, booName = false, booProj = false, booPatient = false, booExp = false;
    for (std::string sLine; std::getline(in, sLine);) {
        const std::vector<std::string> toks = tokensOf(sLine);
        if (toks.empty()) continue;
        const std::string& key = toks[0];
        if (!booMagic) {
            if (toks.size() != 2 || key != kMagic || toks[1] != "1") return kFilmInvalid;
            booMagic = true;
        } else if (key == "name") {
            if (!booSingle(toks, booName)) return kFilmInvalid;
            f.sName = toks[1];
        } else if (key == "projection") {
            if (!booSingle(toks, booProj)) return kFilmInvalid;
            if (toks[1] == "panoramic") f.eProjection = Projection::Panoramic;
            else if (toks[1] == "tmj") f.eProjection = Projection::Tmj;
            else return kFilmInvalid;
        } else if (key == "patient") {
            if (!booSingle(toks, booPatient)) return kFilmInvalid;
            if (toks[1] == "adult") f.booChild = false;
            else if (toks[1] == "child") f.booChild = true;
            else return kFilmInvalid;
        } else if (key == "exposure") {
            if (!booSingle(toks, booExp) || !booParseInt(toks[1], f.lExposureMs)) return kFilmInvalid;
        } else if (key == "speed") {
            if (toks.size() < 2) return kFilmInvalid;
            for (size_t i = 1; i < toks.size(); ++i) {
                int32_t v = 0;
                if (!booParseInt(toks[i], v)) return kFilmInvalid;
                f.lSpeeds.push_back(v);
            }
        } else {
            return kFilmInvalid;
        }
    }
    if (!booMagic || !booName || !booProj || !booPatient || !booExp || f.lSpeeds.empty()) return kFilmInvalid;
    return 0;
}

}  // namespace

int32_t lParseFilmData(const std::string& sText, int32_t lTimeStep, int32_t lTimeLag, FilmData& tFilm)
{
    FilmData f;
    const int32_t lStat = lParseLines(sText, f);
    if (lStat != 0) return lStat;

    // The exposure range: the X-ray time the sensor can integrate, at line
    // rates its clock can run, with the profile covering the whole X-ray.
    const int64_t llProfileMs = static_cast<int64_t>(f.lSpeeds.size()) * lTimeStep;
    if (f.lExposureMs < kMinExposureMs || f.lExposureMs > kMaxWindowMs) return kFilmOutOfRange;
    for (int32_t v : f.lSpeeds) {
        if (v < kMinLineRate || v > kMaxLineRate) return kFilmOutOfRange;
    }
    if (llProfileMs < f.lExposureMs) return kFilmOutOfRange;

    // The lag: the sensor clocks on after the X-ray so that the last lines
    // leave the CCD; that run-on must fit the window and the profile too.
    const int64_t llWindowMs = static_cast<int64_t>(f.lExposureMs) + lTimeLag;
    if (llWindowMs > kMaxWindowMs || llProfileMs < llWindowMs) return kFilmLagExceeds;

    tFilm = std::move(f);
    return 0;
}

int32_t lReadFilmData(const std::string& sPath, int32_t lTimeStep, int32_t lTimeLag, FilmData& tFilm)
{
    std::FILE* fp = std::fopen(sPath.c_str(), "rb");
    if (fp == nullptr) return kFilmUnreadable;
    std::string sText;
    char buf[16384];
    bool booError = false;
    for (;;) {
        const size_t n = std::fread(buf, 1, sizeof buf, fp);
        sText.append(buf, n);
        if (n < sizeof buf) {
            booError = std::ferror(fp) != 0;  // a folder opens but does not read
            break;
        }
        if (sText.size() > kMaxFileBytes) break;
    }
    std::fclose(fp);
    if (booError) return kFilmUnreadable;
    if (sText.size() > kMaxFileBytes) return kFilmInvalid;
    for (char& c : sText) {
        if (c == '\r') c = '\n';
    }
    return lParseFilmData(sText, lTimeStep, lTimeLag, tFilm);
}

std::string sFormatFilmData(const FilmData& tFilm)
{
    std::ostringstream out;
    out << "# Film speed data of the virtual sensor: one image's sweep.\n"
        << "# exposure: the X-ray time of one image the sweep is laid out for, ms.\n"
        << "# speed: line clock in lines/s, one value for every TimeStep ms.\n"
        << kMagic << " 1\n"
        << "name " << tFilm.sName << "\n"
        << "projection " << (tFilm.eProjection == Projection::Tmj ? "tmj" : "panoramic") << "\n"
        << "patient " << (tFilm.booChild ? "child" : "adult") << "\n"
        << "exposure " << tFilm.lExposureMs << "\n";
    for (size_t i = 0; i < tFilm.lSpeeds.size(); i += 20) {
        out << "speed";
        for (size_t k = i; k < tFilm.lSpeeds.size() && k < i + 20; ++k) out << ' ' << tFilm.lSpeeds[k];
        out << "\n";
    }
    return out.str();
}

}  // namespace sim
