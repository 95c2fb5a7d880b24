// The image object as the archive receives it: made from a bitmap file's
// bytes, checked by the standard's validator for every mode, its values read
// back from the encoded file.
#include <gtest/gtest.h>

#include <dcmtk/dcmdata/dctk.h>

#include <cstdlib>
#include <regex>
#include <set>
#include <tuple>
#include <unistd.h>

#include "dicom/dx_object.h"
#include "dicom/grey_bitmap.h"
#include "dicom/vr_rules.h"
#include "tests/support/temp_dir.h"

namespace {

// An uncompressed 8-bit bitmap; pixel (x, y) of the top row first is
// (x + 3 y) mod 256, stored bottom-up (or top-down with a negative height).
std::string sBitmap(int w, int h, bool booTopDown = false, const std::vector<uint32_t>& palette = {}) {
    const int iStride = (w + 3) & ~3;
    const size_t nColours = palette.empty() ? 256 : palette.size();
    std::string s(54 + 4 * nColours, '\0');
    const auto put = [&s](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
    };
    s[0] = 'B', s[1] = 'M';
    put(10, static_cast<uint32_t>(s.size()), 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(w), 4);
    put(22, static_cast<uint32_t>(booTopDown ? -h : h), 4);
    put(26, 1, 2);
    put(28, 8, 2);
    put(46, palette.empty() ? 0 : static_cast<uint32_t>(nColours), 4);
    for (size_t i = 0; i < nColours; ++i) put(54 + 4 * i, palette.empty() ? static_cast<uint32_t>(i * 0x010101) : palette[i], 4);
    for (int row = 0; row < h; ++row) {
        const int y = booTopDown ? row : h - 1 - row;
        std::string sRow(iStride, '\0');
        for (int x = 0; x < w; ++x) sRow[x] = static_cast<char>((x + 3 * y) % static_cast<int>(nColours));
        s += sRow;
    }
    put(2, static_cast<uint32_t>(s.size()), 4);
    return s;
}

// What reading the bitmap gives: its size and grey pixels, or why not.
std::string sGrey(const std::string& sBytes) {
    tGreyImage img;
    std::string sWhy;
    if (!booParseGreyBitmap(sBytes, img, sWhy)) return sWhy;
    std::string s = std::to_string(img.iWidth) + "x" + std::to_string(img.iHeight) + ":";
    for (size_t i = 0; i < img.abyPixels.size() && i < 16; ++i) s += " " + std::to_string(img.abyPixels[i]);
    return s;
}

// Rows top first either way round, greys through a coloured or inverted
// palette; what is not a whole 8-bit bitmap refused, sizes on both sides of
// the limit.
TEST(GreyBitmap, RowsComeTopFirstThroughThePaletteAndWhatIsNotAWholeBitmapIsRefused) {
    const std::string sGood = sBitmap(5, 3);
    std::string s24 = sGood, sPixelOut = sBitmap(4, 1, false, {0, 0xffffff});
    s24[28] = 24;
    sPixelOut[sPixelOut.size() - 1] = 2;  // a pixel beyond the 2 colours
    for (const auto& [s, sWant] : std::vector<std::pair<std::string, std::string>>{
             {sGood, "5x3: 0 1 2 3 4 3 4 5 6 7 6 7 8 9 10"},
             {sBitmap(5, 3, true), "5x3: 0 1 2 3 4 3 4 5 6 7 6 7 8 9 10"},
             {sBitmap(2, 1, false, {0xffffff, 0x0000ff, 0x00ff00}), "2x1: 255 29"},
             {sGood.substr(0, sGood.size() - 1), "bitmap pixels cut short"},
             {s24, "not an uncompressed 8-bit bitmap"},
             {sPixelOut, "a bitmap pixel outside its palette"},
             {sBitmap(65536, 1), "a bitmap size outside 1 to 65535 pixels a side"},
             {sBitmap(65535, 1), "65535x1: 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15"}})
        EXPECT_EQ(sGrey(s), sWant);
}

tDxSource source(int32_t lMode) {
    tDxSource src;
    src.tNote.lModeIdx = lMode;
    src.tNote.lVolt = 74;
    src.tNote.lElec = 8;
    src.tNote.lSize = 1;
    src.tNote.llStartMs = 1710411312000;  // 2024-03-14 10:15:12 UTC
    src.llContentMs = 1710411331000;
    src.tPatient.sPatientId = "P-0042";
    src.tPatient.sPatientName = "Yamada^Tarou=山田^太郎=やまだ^たろう";
    src.tPatient.sBirthDate = "19800229";
    src.tPatient.sSex = "M";
    src.tPatient.sAccession = "A77";
    src.tSettings.booEnabled = true;
    src.tSettings.dPixelSpacing = 0.1;
    src.tSettings.sStationName = "PAN-1";
    src.tSettings.sInstitution = "Kita Dental 北歯科";
    src.sBitmap = sBitmap(33, 17);  // odd sizes: the pixel data is padded
    src.sSoftwareVersion = "1.0.0";
    return src;
}

// The object written to a file and read back as the archive would read it.
struct Written {
    std::string sPath;
    DcmFileFormat ff;
    std::string str(const DcmTagKey& tag) {
        OFString s;
        ff.getDataset()->findAndGetOFStringArray(tag, s);
        return s.c_str();
    }
};

void vWrite(const tDxSource& src, const zyrtest::TempDir& dir, Written& w) {
    DcmFileFormat ff;
    std::string sWhy, sBytes;
    ASSERT_TRUE(booMakeDxObject(src, ff, sWhy)) << sWhy;
    ASSERT_TRUE(booDxFileBytes(ff, sBytes, sWhy)) << sWhy;
    w.sPath = dir.file("object.dcm");
    zyrtest::writeBytes(w.sPath, sBytes);
    ASSERT_TRUE(w.ff.loadFile(w.sPath.c_str()).good());
}

// What the standard's validator says of the file.
std::string sValidate(const std::string& sPath) {
    EXPECT_EQ(std::system(("/usr/bin/dciodvfy " + sPath + " >" + sPath + ".txt 2>&1").c_str()), 0);
    return zyrtest::readBytes(sPath + ".txt");
}

// A text of an item of a sequence, "" when absent.
std::string sIn(DcmItem* pItem, const DcmTagKey& tag) {
    OFString s;
    if (pItem != nullptr) pItem->findAndGetOFString(tag, s);
    return s.c_str();
}

class DxObject : public ::testing::TestWithParam<int32_t> {};

// The child panorama is taken for a worklist order, the adult one for none;
// the TMJ image comes from the simulated sensor without a patient-size preset.
TEST_P(DxObject, TheValidatorFindsNoErrorAndTheValuesReadBack) {
    ASSERT_EQ(access("/usr/bin/dciodvfy", X_OK), 0) << "dciodvfy missing: install dicom3tools";
    zyrtest::TempDir dir;
    Written w;
    tDxSource src = source(GetParam());
    const bool booOrder = GetParam() == 1, booTmj = GetParam() == 2;
    if (booOrder) {
        src.tPatient.sStudyUid = "1.2.392.200036.9116.2.1.77";
        src.tPatient.sRequestedProcedureId = "RP-9";
        src.tPatient.sRequestedProcedureDescription = "パノラマ撮影 (小児)";
        src.tPatient.sScheduledStepId = "SPS-9";
    }
    src.booSimulated = booTmj;
    if (booTmj) src.tNote.lSize = -1;
    vWrite(src, dir, w);
    const std::string sReport = sValidate(w.sPath);
    EXPECT_FALSE(std::regex_search(sReport, std::regex("Error"))) << sReport;

    for (const auto& [tag, sValue] : std::vector<std::pair<DcmTagKey, std::string>>{
             {DCM_SOPClassUID, "1.2.840.10008.5.1.4.1.1.1.1"}, {DCM_Modality, "PX"},
             {DCM_SpecificCharacterSet, "ISO_IR 192"}, {DCM_PatientID, "P-0042"},
             {DCM_PatientName, "Yamada^Tarou=山田^太郎=やまだ^たろう"}, {DCM_PatientBirthDate, "19800229"},
             {DCM_PatientSex, "M"}, {DCM_AccessionNumber, "A77"}, {DCM_InstitutionName, "Kita Dental 北歯科"},
             {DCM_KVP, "74"}, {DCM_XRayTubeCurrent, "8"}, {DCM_ProtocolName, booTmj ? "" : "middle"},
             {DCM_ImagerPixelSpacing, "0.1\\0.1"}, {DCM_BodyPartExamined, booTmj ? "TMJ" : "JAW"},
             {DCM_ImageLaterality, "B"}, {DCM_BurnedInAnnotation, booTmj ? "YES" : "NO"},
             {DCM_ImageComments, booTmj ? "SIMULATED - NOT FOR DIAGNOSIS" : ""}})
        EXPECT_EQ(w.str(tag), sValue) << tag.toString().c_str();
    // Not measured, so not told: no exposure time, no dose; no protocol without a preset.
    for (const DcmTagKey& tag : {DCM_ExposureTime, DCM_ExposureTimeInms, DCM_Exposure, DCM_ExposureInuAs,
                                 DCM_EntranceDoseInmGy, DCM_ImageAndFluoroscopyAreaDoseProduct, DCM_OrganDose})
        EXPECT_FALSE(w.ff.getDataset()->tagExists(tag)) << tag.toString().c_str();
    EXPECT_EQ(w.ff.getDataset()->tagExists(DCM_ProtocolName), !booTmj);
    DcmItem *pRegion = nullptr, *pRequest = nullptr;
    w.ff.getDataset()->findAndGetSequenceItem(DCM_AnatomicRegionSequence, pRegion, 0);
    EXPECT_EQ(sIn(pRegion, DCM_CodeValue) + "|" + sIn(pRegion, DCM_CodingSchemeDesignator),
              booTmj ? "53620006|SCT" : "661005|SCT");
    EXPECT_EQ(w.ff.getDataset()->findAndGetSequenceItem(DCM_RequestAttributesSequence, pRequest, 0).good(), booOrder);
    EXPECT_EQ(sIn(pRequest, DCM_ScheduledProcedureStepID) + "|" + sIn(pRequest, DCM_RequestedProcedureID) + "|" +
                  sIn(pRequest, DCM_RequestedProcedureDescription) + "|" + sIn(pRequest, DCM_StudyInstanceUID),
              booOrder ? "SPS-9|RP-9|パノラマ撮影 (小児)|1.2.392.200036.9116.2.1.77" : "|||");
    EXPECT_EQ(w.str(DCM_StudyInstanceUID) == "1.2.392.200036.9116.2.1.77", booOrder);
    // The pixels as the bitmap shows them, top row first.
    Uint16 rows = 0, cols = 0;
    w.ff.getDataset()->findAndGetUint16(DCM_Rows, rows);
    w.ff.getDataset()->findAndGetUint16(DCM_Columns, cols);
    EXPECT_EQ(std::to_string(rows) + "x" + std::to_string(cols), "17x33");
    const Uint8* px = nullptr;
    unsigned long n = 0;
    ASSERT_TRUE(w.ff.getDataset()->findAndGetUint8Array(DCM_PixelData, px, &n).good());
    ASSERT_GE(n, 33u * 17u);
    EXPECT_EQ(px[0], 0);
    EXPECT_EQ(px[33 * 16 + 32], (32 + 3 * 16) % 256);
}

INSTANTIATE_TEST_SUITE_P(Modes, DxObject, ::testing::Values(0, 1, 2));

TEST(DxObject, UidsAreOursAndNew) {
    zyrtest::TempDir dir;
    std::set<std::string> uids;
    for (int i = 0; i < 2; ++i) {
        Written w;
        vWrite(source(0), dir, w);
        for (const DcmTagKey& tag : {DCM_StudyInstanceUID, DCM_SeriesInstanceUID, DCM_SOPInstanceUID}) {
            const std::string s = w.str(tag);
            EXPECT_TRUE(s.rfind("2.25.", 0) == 0 && sCheckUI(s).empty()) << s;
            uids.insert(s);
        }
        // The file's header names the same image and this program as its writer.
        EXPECT_EQ(sIn(w.ff.getMetaInfo(), DCM_MediaStorageSOPInstanceUID), w.str(DCM_SOPInstanceUID));
        EXPECT_EQ(sIn(w.ff.getMetaInfo(), DCM_ImplementationClassUID).rfind("2.25.", 0), 0u);
    }
    EXPECT_EQ(uids.size(), 6u);
}

TEST(DxObject, NoObjectWithoutAnImageOrAMode) {
    for (const auto& [lMode, sBmp, why] : std::vector<std::tuple<int32_t, std::string, std::string>>{
             {5, sBitmap(4, 4), "no exposure mode of this console"},
             {-1, sBitmap(4, 4), "no exposure mode of this console"},
             {0, "", "not a bitmap file"}}) {
        tDxSource src = source(lMode);
        src.sBitmap = sBmp;
        DcmFileFormat ff;
        std::string sWhy;
        EXPECT_FALSE(booMakeDxObject(src, ff, sWhy));
        EXPECT_EQ(sWhy, why);
    }
}

}  // namespace
