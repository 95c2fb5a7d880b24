// Worklist texts into UTF-8: the character sets Japanese and European
// servers use, the return to the initial set at each delimiter, and a visible
// mark wherever a byte cannot be read.
#include <gtest/gtest.h>

#include "dicom/text_decode.h"
#include "dicom/worklist_entry.h"

namespace {

const char* const kMark = "\xEF\xBF\xBD";

struct DecodeCase {
    const char* sCharset;
    std::string sBytes;
    const char* sDelimiters;
    std::string sUtf8;
};
class Decodes : public ::testing::TestWithParam<DecodeCase> {};

// Faults: a set read with the wrong table; an escape sequence copied into
// the name; the state kept across a delimiter; half-width katakana widened or
// dropped; a byte the set lacks dropped instead of marked, or a whole name
// refused for one bad byte.
TEST_P(Decodes, IntoUtf8WithAMarkForWhatCannotBeRead) {
    const DecodeCase& c = GetParam();
    const std::string s = sDecodeDicomText(c.sCharset, c.sBytes, c.sDelimiters);
    EXPECT_EQ(s, c.sUtf8);
    EXPECT_TRUE(booValidUtf8(s));
}

// (The names of a worklist answer in each set are in worklist_query_test.)
INSTANTIATE_TEST_SUITE_P(
    Sets, Decodes,
    ::testing::Values(
        DecodeCase{"\\ISO 2022 IR 87",
                   "Yamada^Tarou=\x1B$B;3ED\x1B(B^\x1B$BB@O:\x1B(B=\x1B$B$d$^$@\x1B(B^\x1B$B$?$m$&\x1B(B",
                   kPersonNameDelimiters, "Yamada^Tarou=山田^太郎=やまだ^たろう"},
        // A kanji group left open at the delimiter: the next component starts in ASCII again.
        DecodeCase{"\\ISO 2022 IR 87", "\x1B$B;3ED^Tarou", kPersonNameDelimiters, "山田^Tarou"},
        // A description (no person-name delimiters): '^' is a character there.
        DecodeCase{"\\ISO 2022 IR 87", "\x1B$B;3\x1B(B^x", kTextDelimiters, "山^x"},
        // Not readable: each byte or character gets its own mark.
        DecodeCase{"ISO_IR 192", "M\xC3ller\xFF", kPersonNameDelimiters, std::string("M") + kMark + "ller" + kMark},
        DecodeCase{"", "M\xFCller", kPersonNameDelimiters, std::string("M") + kMark + "ller"},
        DecodeCase{"ISO_IR 999", "J\xF6rg", kPersonNameDelimiters, std::string("J") + kMark + "rg"},
        DecodeCase{"\\ISO 2022 IR 87", "\x1B$B;3\x22\x2F\x7F\x1B(B", kPersonNameDelimiters,
                   std::string("山") + kMark + kMark},
        DecodeCase{"\\ISO 2022 IR 87", "\x1B$B;", kPersonNameDelimiters, kMark},
        DecodeCase{"\\ISO 2022 IR 87", "a\x1B", kPersonNameDelimiters, std::string("a") + kMark},
        DecodeCase{"\\ISO 2022 IR 87", "\x1B(Zab\x1B(Bc", kPersonNameDelimiters,
                   std::string(kMark) + kMark + "c"},
        DecodeCase{"\\ISO 2022 IR 87", "\xC0", kPersonNameDelimiters, kMark}));

// Faults: the ideographic group not shown, or shown without the alphabetic
// one; a component separator shown as '^'; the phonetic group not searched.
TEST(WorklistNames, ShownIdeographicFirstAndSearchedInEveryGroup) {
    EXPECT_EQ(sDisplayName("Yamada^Tarou=山田^太郎=やまだ^たろう"), "山田 太郎 (Yamada Tarou)");
    EXPECT_EQ(sDisplayName("Müller^Jörg"), "Müller Jörg");
    EXPECT_EQ(sDisplayName("=山田^太郎"), "山田 太郎");
    EXPECT_EQ(sSearchName("Yamada^Tarou=山田^太郎=やまだ^たろう"), "Yamada Tarou 山田 太郎 やまだ たろう ");
    EXPECT_EQ(sDisplayDate("19800102") + "|" + sDisplayTime("093015.5") + "|" + sDisplayTime("1400"),
              "1980-01-02|09:30|14:00");
}

}  // namespace
