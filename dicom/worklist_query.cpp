#include "dicom/worklist_query.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmnet/scu.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "dicom/dcmtk_quiet.h"

namespace {

// The identifier of the query: the matching keys and the keys to return.
void vBuildQuery(const tWorklistQuery& q, DcmDataset& ds) {
    for (const DcmTagKey& tag :
         {DCM_SpecificCharacterSet, DCM_PatientName, DCM_PatientID, DCM_PatientBirthDate, DCM_PatientSex,
          DCM_StudyInstanceUID, DCM_AccessionNumber, DCM_ReferringPhysicianName, DCM_RequestedProcedureID,
          DCM_RequestedProcedureDescription})
        ds.insertEmptyElement(tag);
    DcmItem* step = nullptr;
    ds.findOrCreateSequenceItem(DCM_ScheduledProcedureStepSequence, step);
    step->putAndInsertString(DCM_Modality, "PX");
    step->putAndInsertString(DCM_ScheduledStationAETitle, q.sCallingAE.c_str());
    step->putAndInsertString(DCM_ScheduledProcedureStepStartDate, q.sDate.c_str());
    for (const DcmTagKey& tag : {DCM_ScheduledProcedureStepStartTime, DCM_ScheduledProcedureStepID,
                                 DCM_ScheduledProcedureStepDescription})
        step->insertEmptyElement(tag);
}

bool booTextHas(const OFCondition& c, const char* s) { return std::strstr(c.text(), s) != nullptr; }

tWorklistResult tFailure(eWorklistFailure e, const std::string& sDetail) {
    tWorklistResult r;
    r.eFailure = e;
    r.sDetail = sDetail;
    return r;
}

// What went wrong while connecting and negotiating.
tWorklistResult tAssociationFailure(const OFCondition& c) {
    if (c == DUL_ASSOCIATIONREJECTED) return tFailure(eWorklistFailure::Rejected, c.text());
    if (c == DUL_READTIMEOUT || booTextHas(c, std::strerror(ETIMEDOUT)) || booTextHas(c, "imeout"))
        return tFailure(eWorklistFailure::TimedOut, c.text());
    if (booTextHas(c, std::strerror(ECONNREFUSED)) || booTextHas(c, std::strerror(EHOSTUNREACH)) ||
        booTextHas(c, std::strerror(ENETUNREACH)) || booTextHas(c, "Unknown Host"))
        return tFailure(eWorklistFailure::Refused, c.text());
    return tFailure(eWorklistFailure::Other, c.text());
}

bool booPending(Uint16 s) { return s == 0xFF00 || s == 0xFF01; }

std::string sHex(Uint16 s) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(s));
    return buf;
}

}  // namespace

std::string sTodayDicomDate() {
    const std::time_t now = std::time(nullptr);
    std::tm tmLocal{};
    localtime_r(&now, &tmLocal);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y%m%d", &tmLocal);
    return buf;
}

tWorklistResult tQueryWorklist(const tWorklistQuery& q) {
    vQuietDcmtkLog();
    const Uint32 t = static_cast<Uint32>(q.iTimeoutSeconds > 0 ? q.iTimeoutSeconds : 1);
    DcmSCU scu;
    scu.setAETitle(q.sCallingAE.c_str());
    scu.setPeerAETitle(q.tPeer.sAE.c_str());
    scu.setPeerHostName(q.tPeer.sHost.c_str());
    scu.setPeerPort(static_cast<Uint16>(q.tPeer.iPort));
    scu.setConnectionTimeout(static_cast<Sint32>(t));
    scu.setACSETimeout(t);
    scu.setDIMSEBlockingMode(DIMSE_NONBLOCKING);
    scu.setDIMSETimeout(t);
    OFList<OFString> syntaxes;
    syntaxes.push_back(UID_LittleEndianExplicitTransferSyntax);
    syntaxes.push_back(UID_LittleEndianImplicitTransferSyntax);
    scu.addPresentationContext(UID_FINDModalityWorklistInformationModel, syntaxes);

    OFCondition c = scu.initNetwork();
    if (c.bad()) return tFailure(eWorklistFailure::Other, c.text());
    c = scu.negotiateAssociation();
    if (c.bad()) return tAssociationFailure(c);
    const T_ASC_PresentationContextID id = scu.findPresentationContextID(UID_FINDModalityWorklistInformationModel, "");
    if (id == 0) {
        scu.releaseAssociation();
        return tFailure(eWorklistFailure::Rejected, "the peer does not offer the modality worklist");
    }

    DcmDataset query;
    vBuildQuery(q, query);
    OFList<QRResponse*> responses;
    c = scu.sendFINDRequest(id, &query, &responses);
    tWorklistResult r;
    Uint16 lastStatus = 0xFFFF;
    for (QRResponse* resp : responses) {
        lastStatus = resp->m_status;
        if (booPending(resp->m_status) && resp->m_dataset != nullptr)
            r.entries.push_back(tEntryFromAnswer(*resp->m_dataset));
        delete resp;
    }
    if (c.bad()) {
        // Dropped without an A-ABORT: sending one waits for the peer to close
        // its end, and a peer that stopped answering may never do so.
        scu.closeAssociation(DCMSCU_PEER_ABORTED_ASSOCIATION);
        const bool booTimeout = c == DIMSE_NODATAAVAILABLE || c == DUL_READTIMEOUT;
        return tFailure(booTimeout ? eWorklistFailure::TimedOut : eWorklistFailure::Other, c.text());
    }
    scu.releaseAssociation();
    if (lastStatus != 0x0000) return tFailure(eWorklistFailure::FindFailed, "status " + sHex(lastStatus));
    std::stable_sort(r.entries.begin(), r.entries.end(), [](const tWorklistEntry& a, const tWorklistEntry& b) {
        // Steps without a time go last.
        if (a.sStartTime.empty() != b.sStartTime.empty()) return b.sStartTime.empty();
        return a.sStartTime < b.sStartTime;
    });
    return r;
}
