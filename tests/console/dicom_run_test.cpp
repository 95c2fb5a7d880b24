// The console with the archive switched on: what it refuses at start (bad
// settings, a malformed patient option, no patient), and the object each
// exposure leaves in the spool beside its bitmap, on our library linked in.
#include <dcmtk/dcmdata/dctk.h>
#include <gmock/gmock.h>

#include <thread>

#include "console/dicom_start.h"
#include "console/startup.h"
#include "tests/console/sim_run.h"
#include "tests/support/temp_dir.h"

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

constexpr const char* kSettingsBox = "The DICOM settings in ZYR_PAN_WEQ.ini are not valid.";
constexpr const char* kNoPatientBox = "No patient ID was given. An image that cannot be filed in the archive is not taken.";
constexpr const char* kNoLibrary = "ZYR_PAN_WEQ: not started: cannot load libZyrPan2.so";

void vArgs(std::vector<std::string> args) {
    args.insert(args.begin(), "ZYR_PAN_WEQ");
    std::vector<const char*> argv;
    for (const std::string& s : args) argv.push_back(s.c_str());
    vNotePatientOptions(static_cast<int>(argv.size()), argv.data());
}

// A start: [DICOM] keys, the command line, then the exit line and the box
// the operator saw (nullptr: the missing library's; empty: none). Every start here ends before the library
// is loaded or at it (none is beside the program): nothing reaches the unit.
struct Start {
    std::vector<std::pair<const char*, const char*>> keys;
    std::vector<std::string> args;
    const char* line;
    const char* box;
};
class DicomStart : public ProgramTest, public ::testing::WithParamInterface<Start> {};

TEST_P(DicomStart, RefusesWhatCannotBeFiledBeforeTheUnitHearsOfIt) {
    for (const auto& [k, v] : GetParam().keys) vSetKey(k, v, "DICOM");
    vWriteSettings();
    vArgs(GetParam().args);
    testing::internal::CaptureStderr();
    EXPECT_EQ(iMain(), EXIT_NOT_STARTED);
    EXPECT_THAT(testing::internal::GetCapturedStderr(), StartsWith(std::string(GetParam().line)));
    if (GetParam().box == nullptr) {
        ASSERT_EQ(boxes_.size(), 1u);  // the missing library's box only
        EXPECT_THAT(boxes_[0].text, HasSubstr("libZyrPan2.so"));
    } else if (*GetParam().box == '\0') {
        EXPECT_TRUE(boxes_.empty());
    } else {
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_THAT(boxes_[0].text, StartsWith(std::string(GetParam().box)));
    }
}

const std::vector<std::pair<const char*, const char*>> kOn = {{"Enabled", "1"}, {"PixelSpacing", "0.1"}};

INSTANTIATE_TEST_SUITE_P(Starts, DicomStart, ::testing::Values(
    // Switched off: the options change nothing, even malformed ones.
    Start{{}, {"--sex", "X", "--patient-id", "a\\b"}, kNoLibrary, nullptr},
    Start{{{"Enabled", "0"}}, {}, kNoLibrary, nullptr},
    // Switched on with a patient: on to the library.
    Start{kOn, {"--patient-id", "P1", "--patient-name", "山田^太郎"}, kNoLibrary, nullptr},
    // A malformed option: its line, no box, no library (the options' and
    // the settings' own rules are the patient-option and settings tests').
    Start{kOn, {"--patient-id", "P1", "--sex", "X"}, "ZYR_PAN_WEQ: not started: --sex: not M, F or O\n", ""},
    // No patient and no worklist: the operator is told why.
    Start{kOn, {"--patient-name", "Yamada^Tarou"},
          "ZYR_PAN_WEQ: not started: no patient ID: [DICOM] Enabled=1 needs --patient-id\n", kNoPatientBox},
    // Settings told at start, not when an image waits to be sent.
    Start{{{"Enabled", "1"}}, {"--patient-id", "P1"},
          "ZYR_PAN_WEQ: not started: settings file: [DICOM] PixelSpacing missing", kSettingsBox},
    Start{{{"Enabled", "1"}, {"PixelSpacing", "0.1"}, {"Store", "ARCHIVE@host"}}, {"--patient-id", "P1"},
          "ZYR_PAN_WEQ: not started: settings file: [DICOM] Store: ", kSettingsBox},
    // The sender's keys too, when the console is to start a sender.
    Start{{{"Enabled", "1"}, {"PixelSpacing", "0.1"}, {"Store", "A@h:1"}, {"Commit", "1"}}, {"--patient-id", "P1"},
          "ZYR_PAN_WEQ: not started: settings file: [DICOM] CommitPort missing", kSettingsBox},
    Start{{{"Enabled", "1"}, {"PixelSpacing", "0.1"}, {"Store", "A@h:1"}, {"Tries", "0"}}, {"--patient-id", "P1"},
          "ZYR_PAN_WEQ: not started: settings file: [DICOM] Tries", kSettingsBox}));


// Whole exposures on our library: the object in the spool beside the bitmap.
struct Run {
    const char* mode;
    std::vector<std::pair<const char*, const char*>> dicom;  // [DICOM] keys
    bool booSpoolBlocked;
    const char* kV;  // the values in effect for the mode in the default file
    const char* mA;
    const char* protocol;
};
class DicomExposure : public SimRunTest, public ::testing::WithParamInterface<Run> {
protected:
    // One exposure to its end; the stderr it wrote.
    std::string sExpose() {
        vUseSim("XrayGap=100", sFolder() + "/libZyrPan2.so");
        vSetKey("DefMode", GetParam().mode);
        vSetKey("M2_Select", "0");  // the large patient's preset in the TMJ group
        for (const auto& [k, v] : GetParam().dicom) vSetKey(k, v, "DICOM");
        vSetKey("Spool", GetParam().booSpoolBlocked ? sTempFolder() + "/image.bmp/spool" : sTempFolder() + "/spool", "DICOM");
        vWriteSettings();
        vArgs({"--patient-id", "P-7", "--patient-name", "山田^花子", "--sex", "F", "--accession", "ACC9"});
        int iStatus = 0;
        EXPECT_TRUE(booDicomStart(iStatus));
        testing::internal::CaptureStderr();
        vExpose();
        return testing::internal::GetCapturedStderr();
    }
};

TEST_P(DicomExposure, TheSpoolHoldsTheImageWithItsPatientAndConditions) {
    // A stand-in sender beside the program notes that it was started.
    const std::string sSenderRan = sTempFolder() + "/sender-ran";
    zyrtest::writeBytes(sFolder() + "/zyr-pan-weq-store", "#!/bin/sh\necho \"$@\" > " + sSenderRan + "\n");
    QFile::setPermissions(QString::fromStdString(sFolder() + "/zyr-pan-weq-store"), QFile::ReadOwner | QFile::ExeOwner);
    const std::string sErr = sExpose();
    const bool booOn = !GetParam().dicom.empty() && std::string(GetParam().dicom[0].second) == "1";
    const bool booStore = booOn && GetParam().dicom.size() > 2;

    ASSERT_TRUE(booImageSaved());  // the bitmap and status 0, whatever becomes of the object
    EXPECT_TRUE(QFile::exists(QString::fromStdString(sTempFolder() + "/image.bmp")));
    const QDir spool(QString::fromStdString(sTempFolder() + "/spool"));
    if (!booOn) {
        EXPECT_FALSE(spool.exists());
        EXPECT_EQ(sErr, "");
        EXPECT_TRUE(boxes_.empty() || boxes_.back().text.find("queued") == std::string::npos);
    } else if (GetParam().booSpoolBlocked) {
        EXPECT_THAT(sErr, HasSubstr("ZYR_PAN_WEQ: image not queued for the archive: cannot use " + sTempFolder() +
                                    "/image.bmp: Not a directory\n"));
        ASSERT_FALSE(boxes_.empty());
        EXPECT_EQ(boxes_.back().text, "The image was saved, but it could not be queued for the archive.\ncannot use " +
                                          sTempFolder() + "/image.bmp: Not a directory\nSend the bitmap to the archive by other means.");
    } else {
        EXPECT_EQ(sErr, "");
        const QStringList files = spool.entryList(QDir::Files | QDir::Hidden);
        ASSERT_EQ(files.size(), 1) << files.join(' ').toStdString();
        ASSERT_TRUE(files[0].endsWith(".dcm"));
        DcmFileFormat ff;
        ASSERT_TRUE(ff.loadFile(spool.filePath(files[0]).toStdString().c_str()).good());
        const auto str = [&ff](const DcmTagKey& tag) {
            OFString s;
            ff.getDataset()->findAndGetOFStringArray(tag, s);
            return std::string(s.c_str());
        };
        EXPECT_EQ(str(DCM_SOPInstanceUID) + ".dcm", files[0].toStdString());
        EXPECT_EQ(str(DCM_PatientID), "P-7");
        EXPECT_EQ(str(DCM_PatientName), "山田^花子");
        EXPECT_EQ(str(DCM_AccessionNumber), "ACC9");
        // What went to the unit: the mode group's values in effect.
        const bool booTmj = std::string(GetParam().mode) == "2";
        EXPECT_EQ(str(DCM_KVP), GetParam().kV);
        EXPECT_EQ(str(DCM_XRayTubeCurrent), GetParam().mA);
        EXPECT_EQ(str(DCM_ProtocolName), GetParam().protocol);
        EXPECT_EQ(str(DCM_BodyPartExamined), booTmj ? "TMJ" : "JAW");
        EXPECT_EQ(str(DCM_ImageComments), "SIMULATED - NOT FOR DIAGNOSIS");
        EXPECT_EQ(str(DCM_ImagerPixelSpacing), "0.1\\0.1");
        Uint16 cols = 0;
        ff.getDataset()->findAndGetUint16(DCM_Columns, cols);
        EXPECT_EQ(cols, booTmj ? 4 * (725 / 4) : 2900 / 4);  // four TMJ views or one panorama, at a quarter
    }
    for (int i = 0; i < 300 && booStore && !QFile::exists(QString::fromStdString(sSenderRan)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(QFile::exists(QString::fromStdString(sSenderRan)), booStore);
}

INSTANTIATE_TEST_SUITE_P(Runs, DicomExposure, ::testing::Values(
    Run{"0", {{"Enabled", "1"}, {"PixelSpacing", "0.1"}, {"Store", "ARCHIVE@127.0.0.1:104"}}, false, "70", "4", ""},
    Run{"2", {{"Enabled", "1"}, {"PixelSpacing", "0.1"}}, false, "74", "8", "large"},
    Run{"1", {{"Enabled", "1"}, {"PixelSpacing", "0.1"}}, true, "66", "4", ""},
    Run{"1", {}, false, "66", "4", ""}));

}  // namespace
