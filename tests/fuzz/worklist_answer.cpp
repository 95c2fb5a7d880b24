// A worklist answer as a server sends it: any SpecificCharacterSet and any
// bytes in the names and texts. Whatever comes, every key of the entry and
// every text the window shows must be valid UTF-8, and a plain ASCII value
// must come through as it was sent.
#include <fuzzer/FuzzedDataProvider.h>

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcdatset.h>

#include <cstdlib>

#include "dicom/text_decode.h"
#include "dicom/worklist_entry.h"

namespace {
bool booPlain(const std::string& s) {
    for (unsigned char c : s)
        if (c < 0x20 || c > 0x7E || c == '\\') return false;
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string sCharset = in.ConsumeRandomLengthString(64);
    const std::string sName = in.ConsumeRandomLengthString(256);
    const std::string sId = in.ConsumeRandomLengthString(64);
    const std::string sProcedure = in.ConsumeRandomLengthString(256);
    const std::string sStep = in.ConsumeRemainingBytesAsString();

    DcmDataset ds;
    ds.putAndInsertOFStringArray(DCM_SpecificCharacterSet, OFString(sCharset.data(), sCharset.size()));
    ds.putAndInsertOFStringArray(DCM_PatientName, OFString(sName.data(), sName.size()));
    ds.putAndInsertOFStringArray(DCM_PatientID, OFString(sId.data(), sId.size()));
    ds.putAndInsertOFStringArray(DCM_RequestedProcedureDescription, OFString(sProcedure.data(), sProcedure.size()));
    DcmItem* step = nullptr;
    if (ds.findOrCreateSequenceItem(DCM_ScheduledProcedureStepSequence, step).good() && step != nullptr)
        step->putAndInsertOFStringArray(DCM_ScheduledProcedureStepDescription, OFString(sStep.data(), sStep.size()));

    const tWorklistEntry e = tEntryFromAnswer(ds);
    const tPatientKeys& k = e.tKeys;
    for (const std::string& s : {k.sPatientName, k.sPatientId, k.sRequestedProcedureDescription, k.sScheduledStepDescription,
                                 sDisplayName(k.sPatientName), sSearchName(k.sPatientName), sDisplayTime(e.sStartTime)})
        if (!booValidUtf8(s)) std::abort();
    // Plain ASCII reads the same in every character set this console knows.
    if (booPlain(sId) && sId.find_first_not_of(' ') != std::string::npos && sId.front() != ' ' &&
        sId.back() != ' ' && k.sPatientId != sId)
        std::abort();
    return 0;
}
