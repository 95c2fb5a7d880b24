// The staged program as the operator meets it: confirm power on, choose
// the exposure with the mouse, READY, and the end of the run; a second copy
// and the Close button. Real time on a display of its own.
#include <QDir>
#include <QFile>
#include <QThread>

#include "tests/e2e/e2e_fixture.h"

namespace {
// Centres of the controls (twips in the window's client area).
constexpr int MODE_CHILD_X = 240 + 780 + 802, MODE_CHILD_Y = 600 + 3120 + 802;
constexpr int VOLT_UP_X = 8700 + 450, VOLT_UP_Y = 2000 + 345;
constexpr int ELEC_DOWN_X = 8700 + 450, ELEC_DOWN_Y = 4910 + 345;
constexpr int SIZE_SMALL_X = 11310 + 367, SIZE_SMALL_Y = 720 + 367;
constexpr int READY_X = 10320 + 1350, READY_Y = 6000 + 1050;
constexpr int CLOSE_X = 11730 + 630, CLOSE_Y = 8400 + 435;
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

// Started by the imaging program with the patient's keys and the archive
// switched on: READY alone, and the image waits in the spool beside the
// bitmap as a valid object of that patient.
TEST_F(ConsoleE2eTest, PatientExposureLeavesItsObjectInTheSpool) {
    vSetIni("DICOM", "Enabled", "1");
    vSetIni("DICOM", "PixelSpacing", "0.2");
    con_.args = {"--patient-id", "E2E-1", "--patient-name", "山田^花子", "--sex", "F", "--birth-date", "19790315"};
    QProcess* pProg = pStart();
    ASSERT_NE(pProg, nullptr) << "the program did not come up with its power-on question";
    // One kV more once the console is idle, then READY.
    const std::string sVolt = std::to_string(std::stoi(sIni("M0_Volt")) + 1);
    ASSERT_TRUE(booClickUntil(VOLT_UP_X, VOLT_UP_Y, "Volt", sVolt));
    con_.vClickTwips(READY_X, READY_Y);
    ASSERT_TRUE(pProg->waitForFinished(40000)) << "the run did not end";
    EXPECT_EQ(pProg->exitCode(), 0);
    EXPECT_TRUE(QFile::exists(sImage_));
    const QDir spool(con_.stage() + "/spool");
    const QStringList objects = spool.entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(objects.size(), 1) << objects.join(' ').toStdString();
    QProcess dump;
    dump.start("dcmdump", {"+P", "PatientName", "+P", "PatientID", "+P", "ImagerPixelSpacing", "+P", "Modality", "+P", "KVP",
                           spool.filePath(objects[0])});
    ASSERT_TRUE(dump.waitForFinished(20000)) << "dcmdump (dcmtk, in the README's install list) did not run";
    const QString sDump = QString::fromUtf8(dump.readAllStandardOutput());
    for (const char* s : {"[山田^花子]", "[E2E-1]", "[0.2\\0.2]", "[PX]"})
        EXPECT_TRUE(sDump.contains(QString::fromUtf8(s))) << s << " in " << sDump.toStdString();
    EXPECT_TRUE(sDump.contains(QString::fromStdString("DS [" + sVolt + "]"))) << "kV " << sVolt << " in " << sDump.toStdString();
    QProcess verify;
    verify.start("dciodvfy", {spool.filePath(objects[0])});
    ASSERT_TRUE(verify.waitForFinished(20000)) << "dciodvfy (dicom3tools) did not run";
    const QString sReport = verify.readAllStandardOutput() + verify.readAllStandardError();
    EXPECT_FALSE(sReport.contains("Error")) << sReport.toStdString();
}
