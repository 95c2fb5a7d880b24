#include "tests/store/store_helpers.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmnet/scp.h>
#include <dcmtk/oflog/oflog.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "tests/support/orthanc_peer.h"

namespace storetest {

std::string sWriteObject(const std::string& sFolder, const std::string& sUid, int iSide) {
    DcmFileFormat ff;
    DcmDataset* d = ff.getDataset();
    d->putAndInsertString(DCM_SOPClassUID, UID_DigitalXRayImageStorageForPresentation);
    d->putAndInsertString(DCM_SOPInstanceUID, sUid.c_str());
    d->putAndInsertString(DCM_StudyInstanceUID, "2.25.1001");
    d->putAndInsertString(DCM_SeriesInstanceUID, "2.25.1002");
    d->putAndInsertString(DCM_PatientID, "P-1");
    d->putAndInsertString(DCM_PatientName, "Test^Patient");
    d->putAndInsertString(DCM_Modality, "PX");
    d->putAndInsertUint16(DCM_SamplesPerPixel, 1);
    d->putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
    d->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(iSide));
    d->putAndInsertUint16(DCM_Columns, static_cast<Uint16>(iSide));
    d->putAndInsertUint16(DCM_BitsAllocated, 8);
    d->putAndInsertUint16(DCM_BitsStored, 8);
    d->putAndInsertUint16(DCM_HighBit, 7);
    d->putAndInsertUint16(DCM_PixelRepresentation, 0);
    std::vector<Uint8> px(static_cast<size_t>(iSide) * iSide);
    for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<Uint8>(i * 7);
    d->putAndInsertUint8Array(DCM_PixelData, px.data(), static_cast<unsigned long>(px.size()));
    const std::string sPath = sFolder + "/" + sUid + ".dcm";
    const std::string sTemp = sFolder + "/." + sUid + ".tmp";
    ff.saveFile(sTemp.c_str(), EXS_LittleEndianExplicit);
    std::filesystem::rename(sTemp, sPath);
    return sPath;
}

SenderFolder::SenderFolder() {
    const char* stage = std::getenv("ZYR_STAGE_DIR");
    std::filesystem::copy_file(std::string(stage ? stage : ".") + "/zyr-pan-weq-store", sProgram());
    std::filesystem::create_directory(sSpool());
}

void SenderFolder::vSettings(const std::map<std::string, std::string>& keys) {
    std::map<std::string, std::string> all{{"Enabled", "1"},        {"PixelSpacing", "0.1"},
                                           {"StationAE", "ZYRPANWEQ"}, {"RetrySeconds", "0.05"},
                                           {"RetryMaxSeconds", "0.2"}, {"Tries", "3"},
                                           {"TimeoutSeconds", "30"}};
    for (const auto& [k, v] : keys) all[k] = v;
    std::ofstream out(dir_.file("ZYR_PAN_WEQ.ini"));
    out << "[DICOM]\n";
    for (const auto& [k, v] : all)
        if (!v.empty()) out << k << "=" << v << "\n";
}

std::unique_ptr<QProcess> SenderFolder::pStart(const QStringList& args) const {
    auto p = std::make_unique<QProcess>();
    p->setProgram(QString::fromStdString(sProgram()));
    p->setArguments(args);
    p->start();
    p->waitForStarted(10000);
    return p;
}

SenderFolder::tRun SenderFolder::tRunToEnd(const QStringList& args, int iTimeoutMs, int iUid) const {
    QProcess p;
    p.setProgram(QString::fromStdString(sProgram()));
    p.setArguments(args);
    if (iUid >= 0)
        p.setChildProcessModifier([iUid] {
            if (setgid(static_cast<gid_t>(iUid)) != 0 || setuid(static_cast<uid_t>(iUid)) != 0) _exit(99);
        });
    p.start();
    tRun r;
    if (!p.waitForFinished(iTimeoutMs)) {
        p.kill();
        p.waitForFinished();
    } else if (p.exitStatus() == QProcess::NormalExit) {
        r.iExit = p.exitCode();
    }
    r.sOut = p.readAllStandardOutput().toStdString();
    r.sErr = p.readAllStandardError().toStdString();
    return r;
}

struct ScriptedArchive::Impl : DcmSCP {
    std::vector<unsigned short> statuses;
    size_t iNext = 0;
    mutable std::mutex m;
    std::vector<std::string> got;
    std::atomic<bool> hold{false}, stop{false};
    std::thread th;

    OFCondition handleIncomingCommand(T_DIMSE_Message* msg, const DcmPresentationContextInfo& info) override {
        if (msg->CommandField != DIMSE_C_STORE_RQ) return DcmSCP::handleIncomingCommand(msg, info);
        T_DIMSE_C_StoreRQ& rq = msg->msg.CStoreRQ;
        DcmDataset* ds = nullptr;
        OFCondition c = receiveSTORERequest(rq, info.presentationContextID, ds);
        delete ds;
        if (c.bad()) return c;
        {
            std::lock_guard<std::mutex> g(m);
            got.emplace_back(rq.AffectedSOPInstanceUID);
        }
        while (hold && !stop) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const unsigned short st = statuses[std::min(iNext++, statuses.size() - 1)];
        return sendSTOREResponse(info.presentationContextID, rq, st);
    }
    OFBool stopAfterConnectionTimeout() override { return stop; }
    OFBool stopAfterCurrentAssociation() override { return stop; }
};

ScriptedArchive::ScriptedArchive(std::vector<unsigned short> statuses, std::string sAE)
    : sAE_(std::move(sAE)), iPort_(zyrtest::iFreePort()), p_(std::make_unique<Impl>()) {
    OFLog::configure(OFLogger::OFF_LOG_LEVEL);  // its associations are the sender's tests' business
    p_->statuses = std::move(statuses);
    p_->setPort(static_cast<Uint16>(iPort_));
    p_->setAETitle(sAE_.c_str());
    p_->setConnectionBlockingMode(DUL_NOBLOCK);
    p_->setConnectionTimeout(1);
    OFList<OFString> xfers;
    xfers.push_back(UID_LittleEndianExplicitTransferSyntax);
    xfers.push_back(UID_LittleEndianImplicitTransferSyntax);
    p_->addPresentationContext(UID_DigitalXRayImageStorageForPresentation, xfers);
    p_->openListenPort();
    p_->th = std::thread([this] { p_->acceptAssociations(); });
}

ScriptedArchive::~ScriptedArchive() {
    p_->stop = true;
    p_->th.join();
}

std::vector<std::string> ScriptedArchive::received() const {
    std::lock_guard<std::mutex> g(p_->m);
    return p_->got;
}

void ScriptedArchive::vHold(bool booHold) { p_->hold = booHold; }

bool booWaitFor(const std::function<bool()>& pred, int iTimeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(iTimeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace storetest
