#include "dicom/dx_object.h"

#include <dcmtk/dcmdata/dcostrmb.h>
#include <dcmtk/dcmdata/dctk.h>

#include <charconv>
#include <ctime>
#include <vector>

#include "dicom/grey_bitmap.h"
#include "dicom/new_uid.h"

namespace {
// What each exposure mode images: the jaws for both panoramas, both
// temporomandibular joints for the TMJ views. Codes are SNOMED CT.
struct tAnatomy {
    const char* sCode;
    const char* sMeaning;
    const char* sBodyPart;
    const char* sSeries;
};
constexpr tAnatomy kAnatomy[3] = {
    {"661005", "Jaw region", "JAW", "panorama adult"},
    {"661005", "Jaw region", "JAW", "panorama child"},
    {"53620006", "Temporomandibular joint", "TMJ", "TMJ"},
};
constexpr const char* kSizeNames[3] = {"large", "middle", "small"};
// This program as the writer of its files (the file meta header names it,
// not the toolkit it is built on).
constexpr const char* kImplementationClassUid = "2.25.316671250181115632526471389543898006168";

struct tStamp {
    std::string sDate;    // YYYYMMDD
    std::string sTime;    // HHMMSS
    std::string sOffset;  // +HHMM
};

// Local date and time of a moment, with its offset from UTC.
tStamp tLocal(int64_t llMs) {
    const std::time_t t = static_cast<std::time_t>(llMs / 1000);
    std::tm tm{};
    localtime_r(&t, &tm);
    char sDate[32], sTime[32], sOffset[32];
    std::strftime(sDate, sizeof sDate, "%Y%m%d", &tm);
    std::strftime(sTime, sizeof sTime, "%H%M%S", &tm);
    const int iOff = static_cast<int>(tm.tm_gmtoff / 60);
    const int iAbs = (iOff < 0 ? -iOff : iOff) % (24 * 60);
    std::snprintf(sOffset, sizeof sOffset, "%c%02d%02d", iOff < 0 ? '-' : '+', iAbs / 60, iAbs % 60);
    return {sDate, sTime, sOffset};
}

// A decimal string (DS) with a point, whatever the operator's locale.
std::string sDecimal(double d) {
    char s[32];
    const auto r = std::to_chars(s, s + sizeof s, d, std::chars_format::general, 8);
    return std::string(s, r.ptr);
}

class tPut {
public:
    explicit tPut(DcmItem& item) : item_(item) {}
    void operator()(const DcmTagKey& tag, const std::string& s) {
        if (ok_) ok_ = item_.putAndInsertString(tag, s.c_str()).good();
    }
    bool booOk() const { return ok_; }

private:
    DcmItem& item_;
    bool ok_ = true;
};

bool booCodeItem(DcmItem& parent, const DcmTagKey& seq, const char* sCode, const char* sMeaning) {
    DcmItem* pItem = nullptr;
    if (parent.findOrCreateSequenceItem(seq, pItem, -2).bad() || pItem == nullptr) return false;
    tPut put(*pItem);
    put(DCM_CodeValue, sCode);
    put(DCM_CodingSchemeDesignator, "SCT");
    put(DCM_CodeMeaning, sMeaning);
    return put.booOk();
}
// The order the image was taken for, as the worklist scheduled it: the
// archive files the image under it. Nothing when no order is known.
bool booRequestItem(DcmItem& ds, const tPatientKeys& p) {
    if (p.sRequestedProcedureId.empty() && p.sScheduledStepId.empty()) return true;
    DcmItem* pItem = nullptr;
    if (ds.findOrCreateSequenceItem(DCM_RequestAttributesSequence, pItem, -2).bad() || pItem == nullptr) return false;
    tPut put(*pItem);
    put(DCM_RequestedProcedureID, p.sRequestedProcedureId);
    if (!p.sRequestedProcedureDescription.empty()) put(DCM_RequestedProcedureDescription, p.sRequestedProcedureDescription);
    put(DCM_ScheduledProcedureStepID, p.sScheduledStepId);
    if (!p.sScheduledStepDescription.empty()) put(DCM_ScheduledProcedureStepDescription, p.sScheduledStepDescription);
    if (!p.sAccession.empty()) put(DCM_AccessionNumber, p.sAccession);
    if (!p.sStudyUid.empty()) put(DCM_StudyInstanceUID, p.sStudyUid);
    return put.booOk();
}
}  // namespace

bool booMakeDxObject(const tDxSource& src, DcmFileFormat& ff, std::string& sWhy) {
    const tExposureNote& e = src.tNote;
    if (e.lModeIdx < 0 || e.lModeIdx > 2) {
        sWhy = "no exposure mode of this console";
        return false;
    }
    tGreyImage img;
    if (!booParseGreyBitmap(src.sBitmap, img, sWhy)) return false;
    const tAnatomy& a = kAnatomy[e.lModeIdx];
    const tPatientKeys& p = src.tPatient;
    const tStamp tStudy = tLocal(e.llStartMs != 0 ? e.llStartMs : src.llContentMs);
    const tStamp tContent = tLocal(src.llContentMs);
    const std::string sSpacing = sDecimal(src.tSettings.dPixelSpacing);

    ff.clear();
    DcmDataset& ds = *ff.getDataset();
    tPut put(ds);
    // SOP common: names and characters in UTF-8.
    const std::string sInstanceUid = sNewUid();
    put(DCM_SpecificCharacterSet, "ISO_IR 192");
    put(DCM_SOPClassUID, UID_DigitalXRayImageStorageForPresentation);
    put(DCM_SOPInstanceUID, sInstanceUid);
    put(DCM_TimezoneOffsetFromUTC, tContent.sOffset);
    // Patient.
    put(DCM_PatientName, p.sPatientName);
    put(DCM_PatientID, p.sPatientId);
    put(DCM_PatientBirthDate, p.sBirthDate);
    put(DCM_PatientSex, p.sSex);
    // Study: the imaging program's or the order's study, else a new one.
    put(DCM_StudyInstanceUID, p.sStudyUid.empty() ? sNewUid() : p.sStudyUid);
    put(DCM_StudyDate, tStudy.sDate);
    put(DCM_StudyTime, tStudy.sTime);
    put(DCM_ReferringPhysicianName, p.sReferringPhysician);
    put(DCM_StudyID, "");
    put(DCM_AccessionNumber, p.sAccession);
    if (!p.sRequestedProcedureDescription.empty()) put(DCM_StudyDescription, p.sRequestedProcedureDescription);
    // Series: one series of one image per exposure.
    put(DCM_Modality, "PX");
    put(DCM_SeriesInstanceUID, sNewUid());
    put(DCM_SeriesNumber, "1");
    put(DCM_SeriesDescription, a.sSeries);
    put(DCM_PresentationIntentType, "FOR PRESENTATION");
    if (e.lSize >= 0 && e.lSize <= 2) put(DCM_ProtocolName, kSizeNames[e.lSize]);
    // Equipment.
    put(DCM_Manufacturer, "Tolvek");
    put(DCM_ManufacturerModelName, "ZYR_PAN_WEQ");
    put(DCM_SoftwareVersions, src.sSoftwareVersion);
    if (!src.tSettings.sStationName.empty()) put(DCM_StationName, src.tSettings.sStationName);
    if (!src.tSettings.sInstitution.empty()) put(DCM_InstitutionName, src.tSettings.sInstitution);
    // Image.
    put(DCM_ImageType, "ORIGINAL\\PRIMARY");
    put(DCM_InstanceNumber, "1");
    // Seen as facing the patient: the patient's left towards the image's
    // right, the feet towards its bottom.
    put(DCM_PatientOrientation, "L\\F");
    put(DCM_ContentDate, tContent.sDate);
    put(DCM_ContentTime, tContent.sTime);
    if (e.llStartMs != 0) put(DCM_AcquisitionDateTime, tStudy.sDate + tStudy.sTime);
    put(DCM_BurnedInAnnotation, src.booSimulated ? "YES" : "NO");
    if (src.booSimulated) put(DCM_ImageComments, kSimulatedComment);
    put(DCM_LossyImageCompression, "00");
    // Anatomy: both sides of the jaws or both joints are in the picture.
    put(DCM_BodyPartExamined, a.sBodyPart);
    put(DCM_ImageLaterality, "B");
    // The exposure as it was asked of the unit. Its time and dose are not
    // measured here, so they are not told.
    put(DCM_KVP, std::to_string(e.lVolt));
    put(DCM_XRayTubeCurrent, std::to_string(e.lElec));
    // Detector.
    put(DCM_DetectorType, "");
    put(DCM_ImagerPixelSpacing, sSpacing + "\\" + sSpacing);
    // Pixels: 8-bit grey, brighter where less of the beam came through.
    put(DCM_PhotometricInterpretation, "MONOCHROME2");
    put(DCM_PixelIntensityRelationship, "LOG");
    put(DCM_PixelIntensityRelationshipSign, "-1");
    put(DCM_RescaleIntercept, "0");
    put(DCM_RescaleSlope, "1");
    put(DCM_RescaleType, "US");
    put(DCM_PresentationLUTShape, "IDENTITY");
    put(DCM_WindowCenter, "128");
    put(DCM_WindowWidth, "256");
    bool booOk = put.booOk() && ds.insertEmptyElement(DCM_AcquisitionContextSequence).good() &&
                 booCodeItem(ds, DCM_AnatomicRegionSequence, a.sCode, a.sMeaning) && booRequestItem(ds, p);
    booOk = booOk && ds.putAndInsertUint16(DCM_SamplesPerPixel, 1).good() &&
            ds.putAndInsertUint16(DCM_Rows, static_cast<Uint16>(img.iHeight)).good() &&
            ds.putAndInsertUint16(DCM_Columns, static_cast<Uint16>(img.iWidth)).good() &&
            ds.putAndInsertUint16(DCM_BitsAllocated, 8).good() && ds.putAndInsertUint16(DCM_BitsStored, 8).good() &&
            ds.putAndInsertUint16(DCM_HighBit, 7).good() && ds.putAndInsertUint16(DCM_PixelRepresentation, 0).good();
    // An odd pixel count is padded to an even length by the toolkit.
    booOk = booOk && ds.putAndInsertUint8Array(DCM_PixelData, img.abyPixels.data(),
                                                static_cast<unsigned long>(img.abyPixels.size()))
                         .good();
    // The file meta header, naming this program as the file's writer.
    DcmMetaInfo& meta = *ff.getMetaInfo();
    const std::string sImplementation = ("ZYRPANWEQ_" + src.sSoftwareVersion).substr(0, 16);
    booOk = booOk && ff.validateMetaInfo(EXS_LittleEndianExplicit).good() &&
            meta.putAndInsertString(DCM_ImplementationClassUID, kImplementationClassUid).good() &&
            meta.putAndInsertString(DCM_ImplementationVersionName, sImplementation.c_str()).good() &&
            meta.computeGroupLengthAndPadding(EGL_withGL, EPD_noChange, EXS_LittleEndianExplicit, EET_ExplicitLength)
                .good();
    if (!booOk) {
        sWhy = "the object could not be put together";
        return false;
    }
    return true;
}

bool booDxFileBytes(DcmFileFormat& ff, std::string& sBytes, std::string& sWhy) {
    std::vector<char> chunk(256 * 1024);
    DcmOutputBufferStream out(chunk.data(), chunk.size());
    std::string s;
    // The meta header is already complete (booMakeDxObject): written as it
    // is, without the toolkit's warning about that on stderr.
    const auto level = DCM_dcmdataLogger.getLogLevel();
    DCM_dcmdataLogger.setLogLevel(OFLogger::ERROR_LOG_LEVEL);
    ff.transferInit();
    OFCondition c = EC_StreamNotifyClient;
    while (c == EC_StreamNotifyClient) {
        c = ff.write(out, EXS_LittleEndianExplicit, EET_ExplicitLength, nullptr, EGL_recalcGL, EPD_noChange, 0, 0, 0,
                     EWM_dontUpdateMeta);
        void* p = nullptr;
        offile_off_t n = 0;
        out.flushBuffer(p, n);
        s.append(static_cast<const char*>(p), static_cast<size_t>(n));
    }
    ff.transferEnd();
    DCM_dcmdataLogger.setLogLevel(level);
    if (c.bad()) {
        sWhy = std::string("the object could not be encoded: ") + c.text();
        return false;
    }
    sBytes = std::move(s);
    return true;
}
