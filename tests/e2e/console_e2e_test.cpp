// The staged program as the operator meets it: confirm power on, choose
// the exposure with the mouse, READY, and the end of the run; a second copy
// and the Close button; the image filed in a real archive (Orthanc) by the
// sender the console starts, for the imaging program's patient and for a
// pick from a real worklist. Real time on a display of its own.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include "tests/e2e/e2e_fixture.h"
#include "tests/support/orthanc_peer.h"
#include "tests/support/worklist_peer.h"
#include "tools/x_windows.h"

namespace {
// Centres of the controls (twips in the window's client area).
constexpr int MODE_CHILD_X = 240 + 780 + 802, MODE_CHILD_Y = 600 + 3120 + 802;
constexpr int VOLT_UP_X = 8700 + 450, VOLT_UP_Y = 2000 + 345;
constexpr int ELEC_DOWN_X = 8700 + 450, ELEC_DOWN_Y = 4910 + 345;
constexpr int SIZE_SMALL_X = 11310 + 367, SIZE_SMALL_Y = 720 + 367;
constexpr int READY_X = 10320 + 1350, READY_Y = 6000 + 1050;
constexpr int CLOSE_X = 11730 + 630, CLOSE_Y = 8400 + 435;

// A text member of the archive's tags (simplified), as UTF-8.
std::string sOf(const QJsonObject& tags, const char* sKey) { return tags.value(sKey).toString().toStdString(); }
}  // namespace

class ConsoleE2eTest : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        if (HasFatalFailure()) return;
        vSetIni("ZYR_PAN_WEQ", "SaveFileName", sImage_.toStdString());
        con_.vSetFastExposure();  // on the embedded unit, the staged console's default
        vSetIni("ZyrPan2", "XrayOn", "2500");  // time for a picture of the exposure
        vSetIni("ZyrPan2", "ImageBinning", "2");  // the 1450 x 700 bitmap checked below
    }

    // Clicks until the settings file shows the key's new value: a click on a
    // control that the state keeps disabled is simply lost.
    bool booClickUntil(int xTw, int yTw, const char* sKey, const std::string& sValue) {
        return booWaitFor([&] {
            if (sIni(sKey) != sValue) con_.vClickTwips(xTw, yTw);
            QThread::msleep(250);
            return sIni(sKey) == sValue;
        }, 20000);
    }
};

TEST_F(ConsoleE2eTest, OperatorTakesAnExposureWithTheMouseAlone) {
    vSetIni("ZyrPan2", "CoolTimeAtStart", "3");
    QProcess* pProg = pStart();
    ASSERT_NE(pProg, nullptr) << "the program did not come up with its power-on question";
    QThread::msleep(700);
    vShot("cooling");  // the tube still cools from before: the cooling line

    // Panorama child, one kV more, one mA step less, then the small patient.
    ASSERT_TRUE(booClickUntil(MODE_CHILD_X, MODE_CHILD_Y, "DefMode", "1"));
    const int iVolt = std::stoi(sIni("M1_Volt"));
    const int iElec = std::stoi(sIni("M1_Elec"));
    ASSERT_TRUE(booClickUntil(VOLT_UP_X, VOLT_UP_Y, "M1_Volt", std::to_string(iVolt + 1)));
    EXPECT_EQ(sIni("Volt"), std::to_string(iVolt + 1));
    if (iElec > 2) {
        ASSERT_TRUE(booClickUntil(ELEC_DOWN_X, ELEC_DOWN_Y, "M1_Elec", std::to_string(iElec - 2)));
        EXPECT_EQ(sIni("Elec"), std::to_string(iElec - 2));
    }
    ASSERT_TRUE(booClickUntil(SIZE_SMALL_X, SIZE_SMALL_Y, "M1_Select", "2"));
    vShot("idle");

    con_.vClickTwips(READY_X, READY_Y);
    QThread::msleep(2300);
    vShot("exposure");  // X-ray on: "Under exposure." and the progress clip

    ASSERT_TRUE(pProg->waitForFinished(40000)) << "the run did not end";
    EXPECT_EQ(pProg->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(pProg->exitCode(), 0);
    QProcess identify;  // an independent reader of bitmaps; BMP3 is the Windows 3 format
    identify.start("identify", {"-format", "%m %w %h %[type] %z", sImage_});
    ASSERT_TRUE(identify.waitForFinished(20000)) << "identify (ImageMagick, in the README's install list) did not run";
    EXPECT_EQ(identify.readAllStandardOutput().toStdString(), "BMP3 1450 700 Grayscale 8");
    EXPECT_TRUE(workFolders().isEmpty()) << workFolders().join(' ').toStdString();
}

TEST_F(ConsoleE2eTest, SecondCopyEndsSilentlyAndCloseEndsWithoutImage) {
    QProcess* pProg = pStart();
    ASSERT_NE(pProg, nullptr) << "the program did not come up with its power-on question";
    ASSERT_TRUE(booClickUntil(VOLT_UP_X, VOLT_UP_Y, "Volt", std::to_string(std::stoi(sIni("M0_Volt")) + 1)));
    ASSERT_EQ(workFolders().size(), 1);

    QProcess* pSecond = pStartProgram();
    ASSERT_NE(pSecond, nullptr);
    ASSERT_TRUE(pSecond->waitForFinished(15000));
    EXPECT_EQ(pSecond->exitCode(), 2);
    EXPECT_TRUE(con_.sBox().isEmpty()) << "the second copy asked nothing";
    EXPECT_EQ(workFolders().size(), 1);  // the second copy made none

    con_.vClickTwips(CLOSE_X, CLOSE_Y);
    ASSERT_TRUE(pProg->waitForFinished(15000));
    EXPECT_EQ(pProg->exitCode(), 1);
    EXPECT_FALSE(QFile::exists(sImage_));
    EXPECT_TRUE(workFolders().isEmpty());
}

// The practice's set-up: the archive switched on and a real archive on
// loopback that the console's own sender delivers to.
class ArchiveE2eTest : public ConsoleE2eTest {
protected:
    void SetUp() override {
        ConsoleE2eTest::SetUp();
        if (HasFatalFailure()) return;
        std::string sWhy;
        ASSERT_TRUE(archive_.booStart(sWhy)) << sWhy;
        vSetIni("DICOM", "Enabled", "1");
        vSetIni("DICOM", "PixelSpacing", "0.2");
        vSetIni("DICOM", "StationAE", "PANO1");
        vSetIni("DICOM", "Store", archive_.sAE() + "@127.0.0.1:" + std::to_string(archive_.iDicomPort()));
    }

    // From idle: one kV more, READY, and the run ends with the image. The kV.
    std::string sExposeWithOneKvMore(QProcess& prog) {
        const std::string sVolt = std::to_string(std::stoi(sIni("M0_Volt")) + 1);
        EXPECT_TRUE(booClickUntil(VOLT_UP_X, VOLT_UP_Y, "Volt", sVolt));
        con_.vClickTwips(READY_X, READY_Y);
        EXPECT_TRUE(prog.waitForFinished(40000)) << "the run did not end";
        EXPECT_EQ(prog.exitCode(), 0);
        EXPECT_TRUE(QFile::exists(sImage_));
        return sVolt;
    }

    // Waits (30 s at most) for the sender the console started: the archive
    // holds the instance and the spool keeps nothing, waiting or refused.
    // The instance's tags (simplified), empty when it did not arrive alone.
    QJsonObject tArchived(std::string& sId) {
        const QString sSpool = con_.stage() + "/spool";
        const auto booSpoolEmpty = [&] {
            return QDir(sSpool).entryList({"*.dcm"}, QDir::Files).isEmpty() && QDir(sSpool + "/failed").isEmpty();
        };
        std::vector<std::string> ids;
        booWaitFor([&] { return !(ids = archive_.instanceIds()).empty() && booSpoolEmpty(); }, 30000, 250);
        EXPECT_TRUE(booSpoolEmpty()) << QDir(sSpool).entryList().join(' ').toStdString();
        EXPECT_EQ(ids.size(), 1u) << archive_.sLog();
        std::string sBody;
        if (ids.size() != 1 || archive_.iGet("/instances/" + ids[0] + "/tags?simplify", sBody) != 200) return {};
        sId = ids[0];
        return QJsonDocument::fromJson(QByteArray::fromStdString(sBody)).object();
    }

    zyrtest::OrthancPeer archive_;
};

// Started by the imaging program with the patient's keys: READY, and the
// image reaches the archive with that patient and the exposure's values
// while nobody types a command.
TEST_F(ArchiveE2eTest, PatientExposureReachesTheArchiveByItself) {
    con_.args = {"--patient-id", "E2E-1", "--patient-name", "山田^花子", "--sex", "F", "--birth-date", "19790315"};
    QProcess* pProg = pStart();
    ASSERT_NE(pProg, nullptr) << "the program did not come up with its power-on question";
    const std::string sVolt = sExposeWithOneKvMore(*pProg);
    std::string sId;
    const QJsonObject tags = tArchived(sId);
    ASSERT_FALSE(sId.empty());
    const std::pair<const char*, std::string> expected[] = {
        {"PatientID", "E2E-1"}, {"PatientName", "山田^花子"}, {"PatientSex", "F"}, {"KVP", sVolt},
        {"XRayTubeCurrent", sIni("Elec")}, {"BodyPartExamined", "JAW"}, {"ImagerPixelSpacing", "0.2\\0.2"}};
    for (const auto& [sKey, sValue] : expected)
        EXPECT_EQ(sOf(tags, sKey), sValue) << sKey;

    std::string sFile;  // the object as the archive keeps it
    ASSERT_EQ(archive_.iGet("/instances/" + sId + "/file", sFile), 200);
    const QString sPath = con_.folder() + "/archived.dcm";
    QFile f(sPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(sFile.data(), static_cast<qint64>(sFile.size())) > 0);
    f.close();
    QProcess verify;
    verify.start("dciodvfy", {sPath});
    ASSERT_TRUE(verify.waitForFinished(20000)) << "dciodvfy (dicom3tools) did not run";
    const QString sReport = verify.readAllStandardOutput() + verify.readAllStandardError();
    EXPECT_FALSE(sReport.contains("Error")) << sReport.toStdString();
}

// No patient from the imaging program: the operator picks the second of
// today's two entries with the keyboard, and the archive files the image
// under that entry's order.
TEST_F(ArchiveE2eTest, WorklistPickByKeyboardIsFiledUnderItsOrder) {
    zyrtest::WorklistPeer worklist;
    zyrtest::tWlEntry first;
    first.sStationAE = "PANO1";
    first.sPatientName = "Yamada^Hanako=山田^花子";
    zyrtest::tWlEntry second = first;
    second.sPatientName = "Suzuki^Ichiro=鈴木^一郎";
    second.sPatientId = "P2";
    second.sTime = "103000";
    second.sStudyUid = "1.2.826.0.1.3680043.2.1143.2";
    second.sAccession = "A2";
    second.sRequestedId = "RP2";
    second.sStepId = "SPS2";
    ASSERT_TRUE(worklist.booAdd("second", second) && worklist.booAdd("first", first) && worklist.booStart());
    vSetIni("DICOM", "Worklist", worklist.sPeer());
    con_.fnBeforePowerOn = [&] {
        const QString sTitle = "Worklist - scheduled today for PANO1";
        QString sList;
        if (!booWaitFor([&] { return !(sList = xwin::sTitled(con_.display(), sTitle)).isEmpty(); }, 20000)) return false;
        vShot("worklist");
        xwin::vKey(con_.display(), sList, "Down");  // from the 09:00 entry to the 10:30 one
        xwin::vKey(con_.display(), sList, "Return");
        return true;
    };
    QProcess* pProg = pStart();
    ASSERT_NE(pProg, nullptr) << "no worklist, or no power-on question after the pick";
    sExposeWithOneKvMore(*pProg);
    std::string sId;
    const QJsonObject tags = tArchived(sId);
    ASSERT_FALSE(sId.empty());
    EXPECT_EQ(sOf(tags, "PatientID"), "P2");
    EXPECT_EQ(sOf(tags, "PatientName"), second.sPatientName);
    EXPECT_EQ(sOf(tags, "StudyInstanceUID"), second.sStudyUid);
    EXPECT_EQ(sOf(tags, "AccessionNumber"), "A2");
    const QJsonObject request = tags.value("RequestAttributesSequence").toArray().at(0).toObject();
    EXPECT_EQ(sOf(request, "RequestedProcedureID"), "RP2");
    EXPECT_EQ(sOf(request, "ScheduledProcedureStepID"), "SPS2");
}
