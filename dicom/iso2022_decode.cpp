#include "dicom/iso2022_decode.h"

#include <iconv.h>

#include <cstring>

#include "dicom/text_decode.h"

namespace {

enum class eSet {
    None,      // nothing designated: every byte of this half is unreadable
    Ascii,     // ISO 646 IRV (ISO 2022 IR 6)
    Romaji,    // JIS X 0201 romaji (ISO 2022 IR 13's G0)
    Kanji,     // JIS X 0208 (ISO 2022 IR 87), two bytes
    Kanji212,  // JIS X 0212 (ISO 2022 IR 159), two bytes
    Katakana,  // JIS X 0201 half-width katakana in the upper half (ISO 2022 IR 13)
    Latin1,    // upper half of ISO 8859-1 (ISO 2022 IR 100)
    Unknown1,  // a one-byte set this reader does not know
    Unknown2,  // a two-byte set this reader does not know
};

struct tState {
    eSet g0 = eSet::Ascii;
    eSet g1 = eSet::None;
};

tState tInitialState(const std::string& sFirstTerm) {
    if (sFirstTerm == "ISO 2022 IR 13") return {eSet::Romaji, eSet::Katakana};
    if (sFirstTerm == "ISO 2022 IR 100") return {eSet::Ascii, eSet::Latin1};
    if (sFirstTerm.empty() || sFirstTerm == "ISO 2022 IR 6") return {eSet::Ascii, eSet::None};
    return {eSet::Ascii, eSet::Unknown1};
}

void vAppendCodePoint(std::string& s, unsigned cp) {
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// One JIS X 0208 / 0212 character through the C library's EUC-JP tables.
class EucJp {
public:
    EucJp() : cd_(iconv_open("UTF-8", "EUC-JP")) {}
    ~EucJp() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    EucJp(const EucJp&) = delete;
    EucJp& operator=(const EucJp&) = delete;

    // b1, b2 in 0x21..0x7E; false when the character is not in the set.
    bool booAppend(std::string& sOut, unsigned char b1, unsigned char b2, bool booJisX0212) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
        char in[3];
        size_t n = 0;
        if (booJisX0212) in[n++] = static_cast<char>(0x8F);
        in[n++] = static_cast<char>(b1 | 0x80);
        in[n++] = static_cast<char>(b2 | 0x80);
        char out[8];
        char* pIn = in;
        char* pOut = out;
        size_t inLeft = n;
        size_t outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &pIn, &inLeft, &pOut, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return false;
        sOut.append(out, static_cast<size_t>(pOut - out));
        return true;
    }

private:
    iconv_t cd_;
};

EucJp& eucJp() {
    thread_local EucJp conv;
    return conv;
}

bool booGraphic(unsigned char b) { return b >= 0x21 && b <= 0x7E; }

// An escape sequence at sBytes[i] (ESC, intermediates 0x20..0x2F, a final
// 0x30..0x7E): its length, and the state it designates. 0 when malformed.
size_t lEscape(const std::string& sBytes, size_t i, tState& st) {
    size_t j = i + 1;
    while (j < sBytes.size() && static_cast<unsigned char>(sBytes[j]) >= 0x20 &&
           static_cast<unsigned char>(sBytes[j]) <= 0x2F)
        ++j;
    if (j == i + 1 || j >= sBytes.size()) return 0;
    const unsigned char fin = static_cast<unsigned char>(sBytes[j]);
    if (fin < 0x30 || fin > 0x7E) return 0;
    const std::string sMid = sBytes.substr(i + 1, j - i - 1);
    const bool booMulti = sMid[0] == '$';
    const char cG = booMulti ? (sMid.size() > 1 ? sMid[1] : '(') : sMid[0];
    const bool booG1 = cG == ')' || cG == '-';
    eSet set = booMulti ? eSet::Unknown2 : eSet::Unknown1;
    if (sMid == "(" && fin == 'B') set = eSet::Ascii;
    if (sMid == "(" && fin == 'J') set = eSet::Romaji;
    if (sMid == "$" && (fin == 'B' || fin == '@')) set = eSet::Kanji;
    if (sMid == "$(" && (fin == 'B' || fin == '@')) set = eSet::Kanji;
    if (sMid == "$(" && fin == 'D') set = eSet::Kanji212;
    if (sMid == ")" && fin == 'I') set = eSet::Katakana;
    if (sMid == "-" && fin == 'A') set = eSet::Latin1;
    (booG1 ? st.g1 : st.g0) = set;
    return j - i + 1;
}

bool booTwoByte(eSet set) { return set == eSet::Kanji || set == eSet::Kanji212 || set == eSet::Unknown2; }

}  // namespace

std::string sDecodeIso2022(const std::string& sFirstTerm, const std::string& sBytes, const char* pszDelimiters) {
    const tState initial = tInitialState(sFirstTerm);
    tState st = initial;
    std::string sOut;
    sOut.reserve(sBytes.size() * 2);
    size_t i = 0;
    while (i < sBytes.size()) {
        const unsigned char b = static_cast<unsigned char>(sBytes[i]);
        if (b == 0x1B) {
            const size_t n = lEscape(sBytes, i, st);
            if (n == 0) {
                sOut += kReplacementMark;
                ++i;
            } else {
                i += n;
            }
            continue;
        }
        if (b == '\r' || b == '\n' || b == '\t' || b == '\f' ||
            (b != 0 && std::strchr(pszDelimiters, static_cast<char>(b)) != nullptr)) {
            sOut += static_cast<char>(b);
            st = initial;
            ++i;
            continue;
        }
        if (b < 0x80) {
            if (b < 0x21) {  // space and controls are the same in every set
                sOut += static_cast<char>(b);
                ++i;
                continue;
            }
            if (booTwoByte(st.g0)) {
                const bool booPair = i + 1 < sBytes.size() && booGraphic(static_cast<unsigned char>(sBytes[i + 1]));
                if (!booPair || st.g0 == eSet::Unknown2 ||
                    !eucJp().booAppend(sOut, b, static_cast<unsigned char>(sBytes[i + 1]), st.g0 == eSet::Kanji212))
                    sOut += kReplacementMark;
                i += booPair ? 2 : 1;
                continue;
            }
            if (st.g0 == eSet::Romaji && b == 0x5C) {
                vAppendCodePoint(sOut, 0xA5);  // yen sign
            } else if (st.g0 == eSet::Romaji && b == 0x7E) {
                vAppendCodePoint(sOut, 0x203E);  // overline
            } else if (st.g0 == eSet::Ascii || st.g0 == eSet::Romaji) {
                sOut += static_cast<char>(b);
            } else {
                sOut += kReplacementMark;
            }
            ++i;
            continue;
        }
        // Upper half: G1.
        if (st.g1 == eSet::Katakana && b >= 0xA1 && b <= 0xDF) {
            vAppendCodePoint(sOut, 0xFF61 + (b - 0xA1));
        } else if (st.g1 == eSet::Latin1 && b >= 0xA0) {
            vAppendCodePoint(sOut, b);
        } else if (booTwoByte(st.g1) && i + 1 < sBytes.size() && static_cast<unsigned char>(sBytes[i + 1]) >= 0xA1) {
            sOut += kReplacementMark;  // a two-byte set in G1 that this reader does not decode
            ++i;
        } else {
            sOut += kReplacementMark;
        }
        ++i;
    }
    return sOut;
}
