#include "dicom/store_commit_listen.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/dimse.h>

#include <cstdio>
#include <cstring>

namespace store {
namespace {

// Hands on every item of one sequence of the report.
void vEachItem(DcmDataset& ds, const DcmTagKey& seq, const std::function<void(DcmItem&)>& f) {
    for (unsigned long i = 0;; ++i) {
        DcmItem* it = nullptr;
        if (ds.findAndGetSequenceItem(seq, it, static_cast<int>(i)).bad() || it == nullptr) return;
        f(*it);
    }
}

void vAcceptCommitmentOnly(T_ASC_Parameters* p) {
    const int n = ASC_countPresentationContexts(p);
    for (int i = 0; i < n; ++i) {
        T_ASC_PresentationContext pc{};
        ASC_getPresentationContext(p, i, &pc);
        const char* sXfer = nullptr;
        for (int k = 0; k < pc.transferSyntaxCount && sXfer == nullptr; ++k)
            if (std::strcmp(pc.proposedTransferSyntaxes[k], UID_LittleEndianExplicitTransferSyntax) == 0 ||
                std::strcmp(pc.proposedTransferSyntaxes[k], UID_LittleEndianImplicitTransferSyntax) == 0)
                sXfer = pc.proposedTransferSyntaxes[k];
        if (std::strcmp(pc.abstractSyntax, UID_StorageCommitmentPushModelSOPClass) == 0 && sXfer != nullptr) {
            // The archive sends the report as the SOP class's provider: the
            // role it proposes is the role it gets.
            ASC_acceptPresentationContext(p, pc.presentationContextID, sXfer, pc.proposedRole);
        } else {
            ASC_refusePresentationContext(p, pc.presentationContextID, ASC_P_ABSTRACTSYNTAXNOTSUPPORTED);
        }
    }
}

}  // namespace

CommitListener::CommitListener(int iPort, int iTimeoutSeconds, Report report)
    : iPort_(iPort), iTimeout_(iTimeoutSeconds), report_(std::move(report)) {}

CommitListener::~CommitListener() {
    stop_ = true;
    if (th_.joinable()) th_.join();
    if (net_) ASC_dropNetwork(&net_);
}

bool CommitListener::booStart(std::string& sWhy) {
    const OFCondition c = ASC_initializeNetwork(NET_ACCEPTOR, iPort_, iTimeout_, &net_);
    if (c.bad()) {
        sWhy = "cannot listen on [DICOM] CommitPort " + std::to_string(iPort_) + ": " + c.text();
        return false;
    }
    th_ = std::thread([this] { vRun(); });
    return true;
}

void CommitListener::vRun() {
    while (!stop_) {
        T_ASC_Association* a = nullptr;
        // Short waits: the sender's end is seen within a second.
        const OFCondition c = ASC_receiveAssociation(net_, &a, ASC_DEFAULTMAXPDU, nullptr, nullptr, OFFalse, DUL_NOBLOCK, 1);
        if (c.good()) {
            vAcceptCommitmentOnly(a->params);
            if (ASC_acknowledgeAssociation(a).good()) vServe(a);
        }
        if (a) {
            ASC_dropSCPAssociation(a);
            ASC_destroyAssociation(&a);
        }
    }
}

void CommitListener::vServe(T_ASC_Association* a) {
    for (;;) {
        T_DIMSE_Message m{};
        T_ASC_PresentationContextID pc = 0;
        OFCondition c = DIMSE_receiveCommand(a, DIMSE_NONBLOCKING, iTimeout_, &pc, &m, nullptr);
        if (c == DUL_PEERREQUESTEDRELEASE) {
            ASC_acknowledgeRelease(a);
            return;
        }
        if (c.bad() || m.CommandField != DIMSE_N_EVENT_REPORT_RQ) {
            ASC_abortAssociation(a);
            return;
        }
        const T_DIMSE_N_EventReportRQ& rq = m.msg.NEventReportRQ;
        DcmDataset* pDs = nullptr;
        if (rq.DataSetType != DIMSE_DATASET_NULL) {
            c = DIMSE_receiveDataSetInMemory(a, DIMSE_NONBLOCKING, iTimeout_, &pc, &pDs, nullptr, nullptr);
            if (c.bad()) {
                ASC_abortAssociation(a);
                return;
            }
        }
        T_DIMSE_Message r{};
        r.CommandField = DIMSE_N_EVENT_REPORT_RSP;
        T_DIMSE_N_EventReportRSP& e = r.msg.NEventReportRSP;
        e.MessageIDBeingRespondedTo = rq.MessageID;
        e.DimseStatus = STATUS_Success;
        e.DataSetType = DIMSE_DATASET_NULL;
        OFStandard::strlcpy(e.AffectedSOPClassUID, rq.AffectedSOPClassUID, sizeof e.AffectedSOPClassUID);
        OFStandard::strlcpy(e.AffectedSOPInstanceUID, rq.AffectedSOPInstanceUID, sizeof e.AffectedSOPInstanceUID);
        e.EventTypeID = rq.EventTypeID;
        e.opts = O_NEVENTREPORT_AFFECTEDSOPCLASSUID | O_NEVENTREPORT_AFFECTEDSOPINSTANCEUID | O_NEVENTREPORT_EVENTTYPEID;
        c = DIMSE_sendMessageUsingMemoryData(a, pc, &r, nullptr, nullptr, nullptr, nullptr);
        // Acted on only once answered: a report that is not answered comes again.
        if (pDs != nullptr && c.good()) {
            vEachItem(*pDs, DCM_ReferencedSOPSequence, [&](DcmItem& it) {
                OFString s;
                if (it.findAndGetOFString(DCM_ReferencedSOPInstanceUID, s).good()) report_(s.c_str(), true, {});
            });
            vEachItem(*pDs, DCM_FailedSOPSequence, [&](DcmItem& it) {
                OFString s;
                Uint16 u = 0;
                it.findAndGetUint16(DCM_FailureReason, u);
                char why[80];
                std::snprintf(why, sizeof why, "the archive did not commit to it (failure reason 0x%04X)", u);
                if (it.findAndGetOFString(DCM_ReferencedSOPInstanceUID, s).good()) report_(s.c_str(), false, why);
            });
        }
        delete pDs;
        if (c.bad()) {
            ASC_abortAssociation(a);
            return;
        }
    }
}

}  // namespace store
