// The imaging program's command line: arguments cut from the input at NUL
// bytes. What is accepted must keep every value rule.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dicom/patient_options.h"
#include "dicom/vr_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args{"ZYR_PAN_WEQ", ""};
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back() += static_cast<char>(data[i]);
        }
    }
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    tPatientKeys t;
    std::string sWhy;
    if (!booParsePatientOptions(static_cast<int>(argv.size()), argv.data(), t, sWhy)) {
        if (sWhy.rfind("--", 0) != 0 || sWhy.find('\n') != std::string::npos) std::abort();
        return 0;
    }
    for (const auto& [v, rule] : {std::pair{&t.sPatientId, &sCheckLO}, {&t.sPatientName, sCheckPN}, {&t.sBirthDate, sCheckDA},
                                  {&t.sSex, sCheckSex}, {&t.sAccession, sCheckSH}, {&t.sStudyUid, sCheckUI}})
        if (!v->empty() && !rule(*v).empty()) std::abort();
    return 0;
}
