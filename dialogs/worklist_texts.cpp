#include "dialogs/worklist_texts.h"

#include "app/messages.h"

std::string sFillIn(std::string s, const std::string& s1, const std::string& s2) {
    for (auto [sMark, sValue] : {std::pair{"%1", &s1}, std::pair{"%2", &s2}}) {
        const auto at = s.find(sMark);
        if (at != std::string::npos) s.replace(at, 2, *sValue);
    }
    return s;
}

std::string sWorklistFailureText(const tWorklistResult& r, const std::string& sPeer, const std::string& sStation,
                                 int iTimeoutSeconds) {
    switch (r.eFailure) {
        case eWorklistFailure::Refused: return sFillIn(sGetResText(13720), sPeer);
        case eWorklistFailure::TimedOut: return sFillIn(sGetResText(13721), sPeer, std::to_string(iTimeoutSeconds));
        case eWorklistFailure::Rejected: return sFillIn(sGetResText(13722), sPeer, sStation);
        case eWorklistFailure::FindFailed: return sFillIn(sGetResText(13723), sPeer, r.sDetail);
        default: return sFillIn(sGetResText(13724), sPeer, r.sDetail);
    }
}

std::string sWorklistFailureReason(const tWorklistResult& r, const std::string& sPeer) {
    const std::string s = "worklist " + sPeer + " ";
    switch (r.eFailure) {
        case eWorklistFailure::Refused: return s + "refused the connection";
        case eWorklistFailure::TimedOut: return s + "did not answer in time";
        case eWorklistFailure::Rejected: return s + "rejected this station's AE title";
        case eWorklistFailure::FindFailed: return s + "failed the query: " + r.sDetail;
        default: return s + "not asked: " + r.sDetail;
    }
}
