// The patient options as the imaging program passes them: every rule of each
// option on both sides of its edge, and what a malformed one says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dicom/patient_options.h"

namespace {

struct Parsed {
    bool booOk;
    tPatientKeys t;
    std::string sWhy;
};

Parsed parse(std::vector<std::string> args) {
    args.insert(args.begin(), "ZYR_PAN_WEQ");
    std::vector<const char*> argv;
    for (const std::string& s : args) argv.push_back(s.c_str());
    Parsed p;
    p.booOk = booParsePatientOptions(static_cast<int>(argv.size()), argv.data(), p.t, p.sWhy);
    return p;
}

TEST(PatientOptions, GoodValuesFillTheirKeysAndOtherArgumentsArePassedOver) {
    const Parsed p = parse({"-platform", "offscreen", "--patient-id", "P-0042 x", "--patient-name=Yamada^Tarou=山田^太郎=やまだ^たろう",
                            "--birth-date", "20000229", "--sex=O", "--accession", "ACC1234567890123", "--study-uid",
                            "1.2.840.0.10", "--unknown", "x"});
    ASSERT_TRUE(p.booOk) << p.sWhy;
    EXPECT_EQ(p.t.sPatientId, "P-0042 x");
    EXPECT_EQ(p.t.sPatientName, "Yamada^Tarou=山田^太郎=やまだ^たろう");
    EXPECT_EQ(p.t.sBirthDate, "20000229");
    EXPECT_EQ(p.t.sSex, "O");
    EXPECT_EQ(p.t.sAccession, "ACC1234567890123");
    EXPECT_EQ(p.t.sStudyUid, "1.2.840.0.10");
    EXPECT_TRUE(parse({}).booOk);
}

// Each rule at its limit (taken: "") and one step past it: the option is
// refused and named, the value not repeated (it may hold a line end).
TEST(PatientOptions, EachRuleAtItsLimitAndOneStepPastIt) {
    const std::string s64(64, 'a'), s65(65, 'a');
    std::string sJapanese64;
    for (int i = 0; i < 64; ++i) sJapanese64 += "山";  // 64 characters, 192 bytes
    const std::string sJapanese65 = sJapanese64 + "山";
    for (const auto& [args, why] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--patient-id", s64}, ""},
             {{"--patient-id", sJapanese64}, ""},
             {{"--patient-name", "a^b^c^d^e"}, ""},
             {{"--patient-name", s64 + "=" + sJapanese64 + "=" + s64}, ""},
             {{"--birth-date", "19000101"}, ""},
             {{"--birth-date", "20241231"}, ""},
             {{"--sex", "M"}, ""},
             {{"--sex", "F"}, ""},
             {{"--accession", std::string(16, '9')}, ""},
             {{"--study-uid", "2.25." + std::string(59, '1')}, ""},
             {{"--study-uid", "0.0"}, ""},
             {{"--patient-id", s65}, "--patient-id: more than 64 characters"},
             {{"--patient-id", sJapanese65}, "--patient-id: more than 64 characters"},
             {{"--patient-id", "a\\b"}, "--patient-id: backslash"},
             {{"--patient-id", "a\nb"}, "--patient-id: control character"},
             {{"--patient-id", "a\tb"}, "--patient-id: control character"},
             {{"--patient-id", "\xff"}, "--patient-id: not UTF-8 text"},
             {{"--patient-id", "\xc0\xaf"}, "--patient-id: not UTF-8 text"},   // an overlong '/'
             {{"--patient-id", "\xe5\xb1"}, "--patient-id: not UTF-8 text"},   // cut short
             {{"--patient-id", ""}, "--patient-id: empty"},
             {{"--patient-id"}, "--patient-id: no value"},
             {{"--patient-id", "--sex", "M"}, "--patient-id: no value"},
             {{"--patient-id", "1", "--patient-id=2"}, "--patient-id: given twice"},
             {{"--patient-name", "a^b^c^d^e^f"}, "--patient-name: more than 5 name components"},
             {{"--patient-name", s65}, "--patient-name: a name group of more than 64 characters"},
             {{"--patient-name", "a=" + sJapanese65}, "--patient-name: a name group of more than 64 characters"},
             {{"--patient-name", "a=b=c=d"}, "--patient-name: more than 3 name groups"},
             {{"--patient-name", "Yamada\\Tarou"}, "--patient-name: backslash"},
             {{"--birth-date", "20230229"}, "--birth-date: no such date"},
             {{"--birth-date", "19000229"}, "--birth-date: no such date"},
             {{"--birth-date", "20241301"}, "--birth-date: no such date"},
             {{"--birth-date", "20240431"}, "--birth-date: no such date"},
             {{"--birth-date", "20240100"}, "--birth-date: no such date"},
             {{"--birth-date", "2024-01-01"}, "--birth-date: not YYYYMMDD"},
             {{"--birth-date", "2024011"}, "--birth-date: not YYYYMMDD"},
             {{"--sex", "m"}, "--sex: not M, F or O"},
             {{"--sex", "MF"}, "--sex: not M, F or O"},
             {{"--accession", std::string(17, '9')}, "--accession: more than 16 characters"},
             {{"--study-uid", "2.25." + std::string(60, '1')}, "--study-uid: more than 64 characters"},
             {{"--study-uid", "1.02.3"}, "--study-uid: a component with a leading zero"},
             {{"--study-uid", "1..3"}, "--study-uid: not digits and dots"},
             {{"--study-uid", "1.2."}, "--study-uid: not digits and dots"},
             {{"--study-uid", "1.2a"}, "--study-uid: not digits and dots"}}) {
        const Parsed p = parse(args);
        EXPECT_EQ(p.booOk, why.empty()) << args[0];
        EXPECT_EQ(p.sWhy, why) << args[0];
    }
}

}  // namespace
