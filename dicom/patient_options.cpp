#include "dicom/patient_options.h"

#include <iterator>
#include <string_view>

#include "dicom/vr_rules.h"

namespace {
struct tOption {
    std::string_view sName;
    std::string tPatientKeys::*pMember;
    std::string (*pCheck)(const std::string&);
};

constexpr tOption kOptions[] = {
    {"--patient-id", &tPatientKeys::sPatientId, sCheckLO},
    {"--patient-name", &tPatientKeys::sPatientName, sCheckPN},
    {"--birth-date", &tPatientKeys::sBirthDate, sCheckDA},
    {"--sex", &tPatientKeys::sSex, sCheckSex},
    {"--accession", &tPatientKeys::sAccession, sCheckSH},
    {"--study-uid", &tPatientKeys::sStudyUid, sCheckUI},
};
}  // namespace

bool booParsePatientOptions(int argc, const char* const* argv, tPatientKeys& tKeys, std::string& sWhy) {
    tPatientKeys t;
    bool abooSeen[std::size(kOptions)] = {};
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) continue;
        const std::string_view sArg(argv[i]);
        for (size_t k = 0; k < std::size(kOptions); ++k) {
            const tOption& o = kOptions[k];
            const bool booJoined = sArg.size() > o.sName.size() && sArg.substr(0, o.sName.size()) == o.sName &&
                                   sArg[o.sName.size()] == '=';
            if (sArg != o.sName && !booJoined) continue;
            const std::string sName(o.sName);
            if (abooSeen[k]) {
                sWhy = sName + ": given twice";
                return false;
            }
            abooSeen[k] = true;
            std::string sValue;
            if (booJoined) {
                sValue = std::string(sArg.substr(o.sName.size() + 1));
            } else if (i + 1 < argc && argv[i + 1] != nullptr && std::string_view(argv[i + 1]).substr(0, 2) != "--") {
                sValue = argv[++i];
            } else {
                sWhy = sName + ": no value";
                return false;
            }
            const std::string sRule = o.pCheck(sValue);
            if (!sRule.empty()) {
                sWhy = sName + ": " + sRule;
                return false;
            }
            t.*o.pMember = sValue;
            break;
        }
    }
    tKeys = t;
    return true;
}
