#include "dicom/store_send.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcmetinf.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmdata/dcxfer.h>
#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/dimse.h>
#include <dcmtk/dcmnet/dul.h>
#include <dcmtk/dcmnet/dcmtrans.h>

#include <cstdio>
#include <map>
#include <optional>
#include <utility>

namespace store {
namespace {

std::string sHex(unsigned u) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04X", u & 0xFFFFu);
    return buf;
}

struct tObject {
    std::string sPath, sClass, sInstance, sXfer;
    std::string sUnreadable;  // why the file is no object, else empty
    T_ASC_PresentationContextID pcid = 0;
};

tObject tReadMeta(const std::string& sPath) {
    tObject o;
    o.sPath = sPath;
    DcmFileFormat ff;
    const OFCondition c = ff.loadFile(sPath.c_str(), EXS_Unknown, EGL_noChange, DCM_MaxReadLength, ERM_metaOnly);
    OFString s;
    if (c.bad()) {
        o.sUnreadable = std::string("not a readable DICOM file: ") + c.text();
        return o;
    }
    DcmMetaInfo* m = ff.getMetaInfo();
    if (m->findAndGetOFString(DCM_MediaStorageSOPClassUID, s).good()) o.sClass = s.c_str();
    if (m->findAndGetOFString(DCM_MediaStorageSOPInstanceUID, s).good()) o.sInstance = s.c_str();
    if (m->findAndGetOFString(DCM_TransferSyntaxUID, s).good()) o.sXfer = s.c_str();
    if (o.sClass.empty() || o.sInstance.empty() || o.sXfer.empty())
        o.sUnreadable = "the file's meta header lacks the SOP class, SOP instance or transfer syntax UID";
    return o;
}

// The object's own transfer syntax first; an uncompressed one may also go
// in the two the archive must know, and the toolkit converts on the way.
std::vector<std::string> proposedXfers(const std::string& sXfer) {
    std::vector<std::string> v{sXfer};
    const DcmXfer x(sXfer.c_str());
    if (x.isEncapsulated()) return v;
    for (const char* s : {UID_LittleEndianExplicitTransferSyntax, UID_LittleEndianImplicitTransferSyntax})
        if (sXfer != s) v.emplace_back(s);
    return v;
}

std::string sRejection(const T_ASC_RejectParameters& r) {
    switch (r.reason) {
        case ASC_REASON_SU_CALLINGAETITLENOTRECOGNIZED: return "the archive does not know this station's AE title";
        case ASC_REASON_SU_CALLEDAETITLENOTRECOGNIZED: return "the archive is not the AE title named in [DICOM] Store";
        case ASC_REASON_SU_APPCONTEXTNAMENOTSUPPORTED: return "the archive does not speak DICOM's application context";
        case ASC_REASON_SP_PRES_TEMPORARYCONGESTION: return "the archive is congested";
        case ASC_REASON_SP_PRES_LOCALLIMITEXCEEDED: return "the archive has too many associations";
        default: break;
    }
    OFString s;
    return std::string("the archive rejected the association: ") + ASC_printRejectParameters(s, &r).c_str();
}

class Association {
public:
    ~Association() {
        if (assoc_) {
            if (!booReleased_) ASC_abortAssociation(assoc_);
            ASC_destroyAssociation(&assoc_);  // frees the parameters too
        } else if (params_) {
            ASC_destroyAssociationParameters(&params_);
        }
        if (net_) ASC_dropNetwork(&net_);
    }
    // Proposes one context per kind of object; empty on success, else the verdict for all.
    std::optional<tVerdict> oOpen(const tArchive& t, std::vector<tObject>& objs, bool booCommit);
    T_ASC_Association* pAssoc() const { return assoc_; }
    int iTimeout() const { return iTimeout_; }
    tVerdict tSend(tObject& o);
    void vRelease() { booReleased_ = assoc_ && ASC_releaseAssociation(assoc_).good(); }
    bool booBroken() const { return booBroken_; }

private:
    T_ASC_Network* net_ = nullptr;
    T_ASC_Parameters* params_ = nullptr;
    T_ASC_Association* assoc_ = nullptr;
    int iTimeout_ = 20;
    bool booReleased_ = false;
    bool booBroken_ = false;  // a message failed: nothing more goes over this association
};

std::optional<tVerdict> Association::oOpen(const tArchive& t, std::vector<tObject>& objs, bool booCommit) {
    iTimeout_ = t.iTimeoutSeconds;
    dcmConnectionTimeout.set(t.iTimeoutSeconds);
    dcmSocketSendTimeout.set(t.iTimeoutSeconds);
    dcmSocketReceiveTimeout.set(t.iTimeoutSeconds);
    OFCondition c = ASC_initializeNetwork(NET_REQUESTOR, 0, t.iTimeoutSeconds, &net_);
    if (c.good()) c = ASC_createAssociationParameters(&params_, ASC_DEFAULTMAXPDU);
    if (c.bad()) return tVerdict{eVerdict::Retry, std::string("cannot open the network: ") + c.text()};
    ASC_setAPTitles(params_, t.sCallingAE.c_str(), t.tPeer.sAE.c_str(), nullptr);
    const std::string sAddress = t.tPeer.sHost + ":" + std::to_string(t.tPeer.iPort);
    ASC_setPresentationAddresses(params_, "localhost", sAddress.c_str());

    std::map<std::pair<std::string, std::string>, T_ASC_PresentationContextID> kinds;
    T_ASC_PresentationContextID next = 1;
    for (tObject& o : objs) {
        if (!o.sUnreadable.empty()) continue;
        auto [it, booNew] = kinds.try_emplace({o.sClass, o.sXfer}, next);
        if (booNew) {
            const std::vector<std::string> xfers = proposedXfers(o.sXfer);
            std::vector<const char*> p;
            for (const auto& s : xfers) p.push_back(s.c_str());
            c = ASC_addPresentationContext(params_, next, o.sClass.c_str(), p.data(), static_cast<int>(p.size()));
            if (c.bad()) return tVerdict{eVerdict::Retry, std::string("cannot propose ") + o.sClass + ": " + c.text()};
            next = static_cast<T_ASC_PresentationContextID>(next + 2);
        }
        o.pcid = it->second;
    }
    if (booCommit) {
        const char* xfers[] = {UID_LittleEndianExplicitTransferSyntax, UID_LittleEndianImplicitTransferSyntax};
        c = ASC_addPresentationContext(params_, next, UID_StorageCommitmentPushModelSOPClass, xfers, 2);
        if (c.bad()) return tVerdict{eVerdict::Retry, std::string("cannot propose storage commitment: ") + c.text()};
    } else if (kinds.empty()) {
        return std::nullopt;
    }

    c = ASC_requestAssociation(net_, params_, &assoc_);
    if (c == DUL_ASSOCIATIONREJECTED) {
        T_ASC_RejectParameters r{};
        ASC_getRejectParameters(params_, &r);
        return tVerdict{r.result == ASC_RESULT_REJECTEDPERMANENT ? eVerdict::Refused : eVerdict::Retry, sRejection(r)};
    }
    if (c.bad()) return tVerdict{eVerdict::Retry, "cannot reach the archive at " + sAddress + ": " + c.text()};
    return std::nullopt;
}

tVerdict Association::tSend(tObject& o) {
    if (!o.sUnreadable.empty()) return {eVerdict::Refused, o.sUnreadable};
    T_ASC_PresentationContext pc{};
    if (ASC_findAcceptedPresentationContext(assoc_->params, o.pcid, &pc).bad() ||
        pc.resultReason != ASC_P_ACCEPTANCE) {
        const char* sName = dcmFindNameOfUID(o.sClass.c_str(), o.sClass.c_str());
        return {eVerdict::Refused, std::string("the archive does not take ") + sName + " objects (" +
                                       DcmXfer(o.sXfer.c_str()).getXferName() + ")"};
    }
    DcmFileFormat ff;
    OFCondition c = ff.loadFile(o.sPath.c_str());
    if (c.bad()) return {eVerdict::Refused, std::string("not a readable DICOM file: ") + c.text()};
    DcmDataset* ds = ff.getDataset();
    const DcmXfer accepted(pc.acceptedTransferSyntax);
    if (accepted.getXfer() != ds->getOriginalXfer()) {
        ds->chooseRepresentation(accepted.getXfer(), nullptr);
        if (!ds->canWriteXfer(accepted.getXfer()))
            return {eVerdict::Refused, std::string("cannot convert the object to ") + accepted.getXferName()};
    }
    T_DIMSE_C_StoreRQ rq{};
    rq.MessageID = assoc_->nextMsgID++;
    OFStandard::strlcpy(rq.AffectedSOPClassUID, o.sClass.c_str(), sizeof rq.AffectedSOPClassUID);
    OFStandard::strlcpy(rq.AffectedSOPInstanceUID, o.sInstance.c_str(), sizeof rq.AffectedSOPInstanceUID);
    rq.DataSetType = DIMSE_DATASET_PRESENT;
    rq.Priority = DIMSE_PRIORITY_MEDIUM;
    T_DIMSE_C_StoreRSP rsp{};
    DcmDataset* pDetail = nullptr;
    c = DIMSE_storeUser(assoc_, o.pcid, &rq, nullptr, ds, nullptr, nullptr, DIMSE_NONBLOCKING, iTimeout_, &rsp,
                        &pDetail);
    delete pDetail;
    if (c.bad()) {
        booBroken_ = true;
        return {eVerdict::Retry, std::string("the association broke: ") + c.text()};
    }
    return tStatusVerdict(rsp.DimseStatus);
}

}  // namespace

tVerdict tStatusVerdict(unsigned u) {
    u &= 0xFFFFu;
    if (u == STATUS_Success) return {eVerdict::Stored, {}};
    // Warnings: the archive kept the object (with coerced or dropped elements).
    if (u == STATUS_STORE_Warning_CoercionOfDataElements || u == STATUS_STORE_Warning_ElementsDiscarded ||
        u == STATUS_STORE_Warning_DataSetDoesNotMatchSOPClass)
        return {eVerdict::Stored, "stored with warning " + sHex(u)};
    if ((u & 0xFF00u) == STATUS_STORE_Refused_OutOfResources)
        return {eVerdict::Retry, "the archive is out of resources (" + sHex(u) + ")"};
    if (u == 0x0213) return {eVerdict::Retry, "the archive's resources are limited (" + sHex(u) + ")"};
    if (u == STATUS_STORE_Refused_SOPClassNotSupported)
        return {eVerdict::Refused, "the archive does not take this SOP class (" + sHex(u) + ")"};
    if (u == STATUS_STORE_Refused_NotAuthorized)
        return {eVerdict::Refused, "the archive does not let this station store (" + sHex(u) + ")"};
    if ((u & 0xFF00u) == STATUS_STORE_Error_DataSetDoesNotMatchSOPClass)
        return {eVerdict::Refused, "the archive found the object does not match its SOP class (" + sHex(u) + ")"};
    if ((u & 0xF000u) == STATUS_STORE_Error_CannotUnderstand)
        return {eVerdict::Refused, "the archive cannot understand the object (" + sHex(u) + ")"};
    return {eVerdict::Refused, "the archive refused the object with status " + sHex(u)};
}

void vSendFiles(const tArchive& tTo, const std::vector<std::string>& paths,
                const std::function<void(size_t, const tVerdict&)>& onEach, tCommitAsk* pAsk) {
    std::vector<tObject> objs;
    for (const auto& p : paths) objs.push_back(tReadMeta(p));
    auto each = [&](size_t i, tVerdict v) {
        v.id = {objs[i].sClass, objs[i].sInstance};
        if (!objs[i].sUnreadable.empty()) v = tVerdict(eVerdict::Refused, objs[i].sUnreadable);
        onEach(i, v);
        if (pAsk && v.e == eVerdict::Stored) pAsk->asked.push_back(v.id);
    };
    if (pAsk) {
        pAsk->asked = pAsk->again;
        pAsk->booAsked = false;
    }
    Association a;
    if (const auto oAll = a.oOpen(tTo, objs, pAsk != nullptr && (!objs.empty() || !pAsk->again.empty()))) {
        for (size_t i = 0; i < objs.size(); ++i) each(i, *oAll);
        if (pAsk) pAsk->sWhy = oAll->sWhy;
        return;
    }
    for (size_t i = 0; i < objs.size(); ++i) {
        const tVerdict v = a.tSend(objs[i]);
        each(i, v);
        if (a.booBroken()) {
            for (size_t j = i + 1; j < objs.size(); ++j) each(j, v);
            if (pAsk) pAsk->sWhy = v.sWhy;
            return;  // the destructor aborts what is left of the association
        }
    }
    if (pAsk && !pAsk->asked.empty() && a.pAssoc())
        pAsk->booAsked = booAskCommitment(a.pAssoc(), a.iTimeout(), pAsk->asked, pAsk->sWhy);
    a.vRelease();
}

}  // namespace store
