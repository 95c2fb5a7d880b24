#include "dicom/text_decode.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcspchrs.h>

#include <vector>

#include "dicom/dcmtk_quiet.h"
#include "dicom/iso2022_decode.h"

namespace {

std::string sTrim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::vector<std::string> terms(const std::string& sCharset) {
    std::vector<std::string> v;
    size_t start = 0;
    for (;;) {
        const size_t end = sCharset.find('\\', start);
        v.push_back(sTrim(sCharset.substr(start, end == std::string::npos ? std::string::npos : end - start)));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return v;
}

bool booAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80 || c == 0x1B) return false;
    return true;
}

// Length of the valid UTF-8 sequence at s[i], 0 when there is none.
size_t lUtf8Sequence(const std::string& s, size_t i) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    if (b < 0x80) return 1;
    size_t n = 0;
    unsigned lo = 0x80, hi = 0xBF;  // range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) lo = 0xA0;  // no overlong forms
        if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) lo = 0x90;
        if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    if (at(i + 1) < lo || at(i + 1) > hi) return 0;
    for (size_t k = 2; k < n; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
    return n;
}

// A character set without code extensions, through the toolkit's tables:
// the whole value at once, and where that fails (one byte the set lacks
// makes the toolkit refuse all of it) byte by byte, with a mark for each
// byte it cannot read.
std::string sDecodeSingle(const std::string& sTerm, const std::string& sBytes, const char* pszDelimiters) {
    if (sTerm == "ISO_IR 192") return sRepairUtf8(sBytes);
    vQuietDcmtkLog();
    DcmSpecificCharacterSet conv;
    if (sTerm.empty() || sTerm == "ISO_IR 6" || conv.selectCharacterSet(sTerm.c_str(), "ISO_IR 192").bad()) {
        std::string sOut;
        for (unsigned char c : sBytes) {
            if (c < 0x80) sOut += static_cast<char>(c);
            else sOut += kReplacementMark;
        }
        return sOut;
    }
    OFString out;
    if (conv.convertString(OFString(sBytes.data(), sBytes.size()), out, pszDelimiters).good() &&
        booValidUtf8(std::string(out.c_str(), out.length())))
        return std::string(out.c_str(), out.length());
    std::string sOut;
    for (char c : sBytes) {
        OFString one;
        if (conv.convertString(OFString(&c, 1), one, pszDelimiters).good() && one.length() > 0 &&
            booValidUtf8(std::string(one.c_str(), one.length())))
            sOut.append(one.c_str(), one.length());
        else
            sOut += kReplacementMark;
    }
    return sOut;
}

}  // namespace

std::string sRepairUtf8(const std::string& sBytes) {
    std::string sOut;
    sOut.reserve(sBytes.size());
    size_t i = 0;
    while (i < sBytes.size()) {
        const size_t n = lUtf8Sequence(sBytes, i);
        if (n == 0) {
            sOut += kReplacementMark;
            ++i;
        } else {
            sOut.append(sBytes, i, n);
            i += n;
        }
    }
    return sOut;
}

bool booValidUtf8(const std::string& sBytes) {
    for (size_t i = 0; i < sBytes.size();) {
        const size_t n = lUtf8Sequence(sBytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string sDecodeDicomText(const std::string& sCharset, const std::string& sBytes, const char* pszDelimiters) {
    if (booAscii(sBytes)) return sBytes;
    const std::vector<std::string> v = terms(sCharset);
    bool booCodeExtensions = v.size() > 1;
    for (const std::string& t : v)
        if (t.rfind("ISO 2022", 0) == 0) booCodeExtensions = true;
    // Debian's toolkit reads the Japanese sets of ISO 2022 not at all (its
    // iconv knows no "ISO-IR-87"): they are read here.
    if (booCodeExtensions) return sDecodeIso2022(v.front(), sBytes, pszDelimiters);
    return sDecodeSingle(v.front(), sBytes, pszDelimiters);
}
