#include "dicom/store_commit.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcmetinf.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/dimse.h>

#include <cstdio>
#include <random>

namespace store {

bool booReadIdentity(const std::string& sPath, tIdentity& t, std::string& sWhy) {
    DcmFileFormat ff;
    const OFCondition c = ff.loadFile(sPath.c_str(), EXS_Unknown, EGL_noChange, DCM_MaxReadLength, ERM_metaOnly);
    if (c.bad()) {
        sWhy = std::string("not a readable DICOM file: ") + c.text();
        return false;
    }
    OFString sClass, sInstance;
    ff.getMetaInfo()->findAndGetOFString(DCM_MediaStorageSOPClassUID, sClass);
    ff.getMetaInfo()->findAndGetOFString(DCM_MediaStorageSOPInstanceUID, sInstance);
    if (sClass.empty() || sInstance.empty()) {
        sWhy = "the file's meta header lacks the SOP class or SOP instance UID";
        return false;
    }
    t = {sClass.c_str(), sInstance.c_str()};
    return true;
}

std::string sNewUid() {
    std::random_device rd;
    unsigned __int128 v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 32) | rd();
    // A version 4 UUID: the version and variant bits set as RFC 4122 has them.
    v = (v & ~(static_cast<unsigned __int128>(0xF) << 76)) | (static_cast<unsigned __int128>(4) << 76);
    v = (v & ~(static_cast<unsigned __int128>(0x3) << 62)) | (static_cast<unsigned __int128>(2) << 62);
    std::string s;
    do {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v != 0);
    return "2.25." + s;
}

bool booAskCommitment(T_ASC_Association* a, int iTimeout, const std::vector<tIdentity>& objects, std::string& sWhy) {
    const T_ASC_PresentationContextID pc = ASC_findAcceptedPresentationContextID(a, UID_StorageCommitmentPushModelSOPClass);
    if (pc == 0) {
        sWhy = "the archive does not take storage commitment requests";
        return false;
    }
    DcmDataset ds;
    ds.putAndInsertString(DCM_TransactionUID, sNewUid().c_str());
    for (const tIdentity& o : objects) {
        DcmItem* it = nullptr;
        ds.findOrCreateSequenceItem(DCM_ReferencedSOPSequence, it, -2);
        it->putAndInsertString(DCM_ReferencedSOPClassUID, o.sClass.c_str());
        it->putAndInsertString(DCM_ReferencedSOPInstanceUID, o.sInstance.c_str());
    }
    T_DIMSE_Message rq{};
    rq.CommandField = DIMSE_N_ACTION_RQ;
    T_DIMSE_N_ActionRQ& n = rq.msg.NActionRQ;
    n.MessageID = a->nextMsgID++;
    OFStandard::strlcpy(n.RequestedSOPClassUID, UID_StorageCommitmentPushModelSOPClass, sizeof n.RequestedSOPClassUID);
    OFStandard::strlcpy(n.RequestedSOPInstanceUID, UID_StorageCommitmentPushModelSOPInstance,
                        sizeof n.RequestedSOPInstanceUID);
    n.ActionTypeID = 1;  // request storage commitment
    n.DataSetType = DIMSE_DATASET_PRESENT;
    OFCondition c = DIMSE_sendMessageUsingMemoryData(a, pc, &rq, nullptr, &ds, nullptr, nullptr);
    T_DIMSE_Message rsp{};
    T_ASC_PresentationContextID rpc = 0;
    if (c.good()) c = DIMSE_receiveCommand(a, DIMSE_NONBLOCKING, iTimeout, &rpc, &rsp, nullptr);
    if (c.good() && rsp.CommandField == DIMSE_N_ACTION_RSP && rsp.msg.NActionRSP.DataSetType != DIMSE_DATASET_NULL) {
        DcmDataset* pReply = nullptr;
        c = DIMSE_receiveDataSetInMemory(a, DIMSE_NONBLOCKING, iTimeout, &rpc, &pReply, nullptr, nullptr);
        delete pReply;
    }
    if (c.bad()) {
        sWhy = std::string("the storage commitment request failed: ") + c.text();
        return false;
    }
    if (rsp.CommandField != DIMSE_N_ACTION_RSP || rsp.msg.NActionRSP.DimseStatus != STATUS_Success) {
        char buf[80];
        std::snprintf(buf, sizeof buf, "the archive refused the storage commitment request (0x%04X)",
                      rsp.CommandField == DIMSE_N_ACTION_RSP ? rsp.msg.NActionRSP.DimseStatus : 0xFFFFu);
        sWhy = buf;
        return false;
    }
    return true;
}

}  // namespace store
