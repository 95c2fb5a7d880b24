#include "dicom/worklist_entry.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcsequen.h>

#include <vector>

#include "dicom/text_decode.h"

namespace {

std::string sRaw(DcmItem& item, const DcmTagKey& tag) {
    OFString s;
    if (item.findAndGetOFStringArray(tag, s, OFFalse).bad()) return {};
    return std::string(s.c_str(), s.length());
}

std::string sTrimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::vector<std::string> split(const std::string& s, char c) {
    std::vector<std::string> v;
    size_t start = 0;
    for (;;) {
        const size_t end = s.find(c, start);
        v.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return v;
        start = end + 1;
    }
}

// One group of a person name with blanks for the component separators.
std::string sGroupText(const std::string& sGroup) {
    std::string s;
    for (const std::string& c : split(sGroup, '^')) {
        const std::string t = sTrimmed(c);
        if (t.empty()) continue;
        if (!s.empty()) s += ' ';
        s += t;
    }
    return s;
}

}  // namespace

tWorklistEntry tEntryFromAnswer(DcmItem& answer) {
    const std::string sCharset = sRaw(answer, DCM_SpecificCharacterSet);
    const auto text = [&](DcmItem& item, const DcmTagKey& tag) {
        return sTrimmed(sDecodeDicomText(sCharset, sRaw(item, tag), kTextDelimiters));
    };
    const auto name = [&](DcmItem& item, const DcmTagKey& tag) {
        return sTrimmed(sDecodeDicomText(sCharset, sRaw(item, tag), kPersonNameDelimiters));
    };
    tWorklistEntry e;
    tPatientKeys& k = e.tKeys;
    k.sPatientName = name(answer, DCM_PatientName);
    k.sPatientId = text(answer, DCM_PatientID);
    k.sBirthDate = text(answer, DCM_PatientBirthDate);
    k.sSex = text(answer, DCM_PatientSex);
    k.sStudyUid = text(answer, DCM_StudyInstanceUID);
    k.sAccession = text(answer, DCM_AccessionNumber);
    k.sReferringPhysician = name(answer, DCM_ReferringPhysicianName);
    k.sRequestedProcedureId = text(answer, DCM_RequestedProcedureID);
    k.sRequestedProcedureDescription = text(answer, DCM_RequestedProcedureDescription);
    DcmItem* step = nullptr;
    if (answer.findAndGetSequenceItem(DCM_ScheduledProcedureStepSequence, step, 0).good() && step != nullptr) {
        k.sScheduledStepId = text(*step, DCM_ScheduledProcedureStepID);
        k.sScheduledStepDescription = text(*step, DCM_ScheduledProcedureStepDescription);
        e.sStartDate = text(*step, DCM_ScheduledProcedureStepStartDate);
        e.sStartTime = text(*step, DCM_ScheduledProcedureStepStartTime);
        e.sStationAE = text(*step, DCM_ScheduledStationAETitle);
        e.sModality = text(*step, DCM_Modality);
    }
    return e;
}

std::string sDisplayName(const std::string& sPersonName) {
    const std::vector<std::string> groups = split(sPersonName, '=');
    const std::string sAlpha = sGroupText(groups[0]);
    const std::string sIdeo = groups.size() > 1 ? sGroupText(groups[1]) : std::string();
    if (sIdeo.empty()) return sAlpha;
    if (sAlpha.empty()) return sIdeo;
    return sIdeo + " (" + sAlpha + ")";
}

std::string sSearchName(const std::string& sPersonName) {
    std::string s;
    for (const std::string& g : split(sPersonName, '=')) s += sGroupText(g) + ' ';
    return s;
}

std::string sDisplayDate(const std::string& sDate) {
    if (sDate.size() != 8) return sDate;
    return sDate.substr(0, 4) + "-" + sDate.substr(4, 2) + "-" + sDate.substr(6, 2);
}

std::string sDisplayTime(const std::string& sTime) {
    const std::string s = sTime.find(':') == std::string::npos ? sTime : std::string();
    if (s.size() < 4) return sTime;
    return s.substr(0, 2) + ":" + s.substr(2, 2);
}
