#include "dicom/vr_rules.h"

#include <cstdint>

namespace {
// UTF-8 as its standard has it: shortest forms only, no surrogates, at most
// U+10FFFF.
bool booNextCodePoint(const std::string& s, size_t& i, uint32_t& cp) {
    const auto b = [&s](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    int n = 0;
    if (c < 0x80) {
        cp = c;
    } else if (c >= 0xc2 && c <= 0xdf) {
        cp = c & 0x1f, n = 1;
    } else if (c >= 0xe0 && c <= 0xef) {
        cp = c & 0x0f, n = 2;
    } else if (c >= 0xf0 && c <= 0xf4) {
        cp = c & 0x07, n = 3;
    } else {
        return false;
    }
    if (i + n >= s.size()) return false;
    for (int k = 1; k <= n; ++k) {
        if ((b(i + k) & 0xc0) != 0x80) return false;
        cp = (cp << 6) | (b(i + k) & 0x3f);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
        return false;
    i += n + 1;
    return true;
}

// Text of the default repertoire or UTF-8 without control characters and
// backslash (the value separator), at most iMax characters.
std::string sCheckText(const std::string& s, int iMax) {
    if (s.empty()) return "empty";
    const int iLen = iUtf8Length(s);
    if (iLen < 0) return "not UTF-8 text";
    for (unsigned char c : s) {
        if (c < 0x20 || c == 0x7f) return "control character";
        if (c == '\\') return "backslash";
    }
    if (iLen > iMax) return "more than " + std::to_string(iMax) + " characters";
    return {};
}

bool booDigits(const std::string& s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return !s.empty();
}
}  // namespace

int iUtf8Length(const std::string& s) {
    int n = 0;
    for (size_t i = 0; i < s.size(); ++n) {
        uint32_t cp = 0;
        if (!booNextCodePoint(s, i, cp)) return -1;
    }
    return n;
}

std::string sCheckLO(const std::string& s) { return sCheckText(s, 64); }

std::string sCheckSH(const std::string& s) { return sCheckText(s, 16); }

std::string sCheckPN(const std::string& s) {
    std::string sWhy = sCheckText(s, 3 * 64 + 2);
    if (!sWhy.empty()) return sWhy;
    int iGroups = 0;
    for (size_t b = 0;; ++iGroups) {
        const size_t e = s.find('=', b);
        const std::string sGroup = s.substr(b, e == std::string::npos ? std::string::npos : e - b);
        if (iUtf8Length(sGroup) > 64) return "a name group of more than 64 characters";
        size_t iCarets = 0;
        for (char c : sGroup) iCarets += c == '^';
        if (iCarets > 4) return "more than 5 name components";
        if (e == std::string::npos) break;
        b = e + 1;
    }
    if (iGroups > 2) return "more than 3 name groups";
    return {};
}

std::string sCheckDA(const std::string& s) {
    if (s.size() != 8 || !booDigits(s)) return "not YYYYMMDD";
    const int y = std::stoi(s.substr(0, 4));
    const int m = std::stoi(s.substr(4, 2));
    const int d = std::stoi(s.substr(6, 2));
    const bool booLeap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1] + (m == 2 && booLeap ? 1 : 0))
        return "no such date";
    return {};
}

std::string sCheckSex(const std::string& s) {
    if (s == "M" || s == "F" || s == "O") return {};
    return "not M, F or O";
}

std::string sCheckUI(const std::string& s) {
    if (s.empty()) return "empty";
    if (s.size() > 64) return "more than 64 characters";
    for (size_t b = 0;;) {
        const size_t e = s.find('.', b);
        const std::string sPart = s.substr(b, e == std::string::npos ? std::string::npos : e - b);
        if (!booDigits(sPart)) return "not digits and dots";
        if (sPart.size() > 1 && sPart[0] == '0') return "a component with a leading zero";
        if (e == std::string::npos) break;
        b = e + 1;
    }
    return {};
}
