// The console on a clinic computer several operators share, with one
// settings file every operator may change: names another user planted where
// the bitmap and its record go, the record of another exposure, the
// simulated sensor on screen and before a real unit's X-ray, a fresh
// package's first start, and one console per settings file across users.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <fstream>

#include "app/app_state.h"
#include "app/run_end.h"
#include "app/settings.h"
#include "platform/home_path.h"
#include "platform/single_instance.h"
#include "resources/string_table.h"
#include "sensor/sensor_steps.h"
#include "sim/library.h"
#include "tests/support/console_fixture.h"
#include "tests/support/sim_table.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
constexpr uid_t kOther = 65531;  // the colleague who planted

const std::string kLinkOfOther = "The name leads through a symbolic link that belongs to another user.";
const std::string kRecordOf = "The exposure record cannot be written as ";
const std::string kImageOf = "The image cannot be saved as ";

std::string sRecordText(const std::string& sBitmap) {
    return R"({"bitmap": ")" + sBitmap + R"(", "mode": null, "kV": 60, "mA": 2, "patientSize": null, "images": {},
              "complete": true, "start": null, "end": null, "program": {}, "library": {}})";
}

// A temporary folder laid out as a shared computer's: a sticky folder all
// users write into (as /tmp), and the operator's own folder with a file
// worth attacking.
class SharedPc : public ConsoleTest {
protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        shared_ = sTempFolder() + "/shared";
        home_ = sTempFolder() + "/home";
        fs::create_directory(shared_);
        fs::create_directory(home_);
        ASSERT_EQ(chmod(shared_.c_str(), 01777), 0);
        zyrtest::writeBytes(home_ + "/.bashrc", "echo hello\n");
    }
    // The colleague's link or file (needs root to give it away).
    void vPlantLink(const std::string& sTarget, const std::string& sPath) const {
        fs::create_symlink(sTarget, sPath);
        ASSERT_EQ(lchown(sPath.c_str(), kOther, kOther), 0);
    }
    void vPlantFile(const std::string& sPath, const std::string& sBytes) const {
        zyrtest::writeBytes(sPath, sBytes);
        ASSERT_EQ(lchown(sPath.c_str(), kOther, kOther), 0);
    }
    std::string shared_, home_;
};

// --- names refused at start, before any contact with the unit ---
struct StartRow {
    const char* sName;
    const char* sSave;      // under the test's temporary folder
    const char* sSaveInfo;
    const char* sRefused;   // the box's second line, nullptr: the console starts
    bool booRecord;         // the refusal is the record's
};
class StartRefusal : public SharedPc, public ::testing::WithParamInterface<StartRow> {};

TEST_P(StartRefusal, NamesThatCannotBeWrittenEndTheStart) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root: the planted files belong to another user";
    const StartRow& r = GetParam();
    vPlantLink(home_ + "/.bashrc", shared_ + "/planted.bmp");
    vPlantLink(home_ + "/.bashrc", shared_ + "/ZYR_PAN_WEQ.json");
    vPlantFile(shared_ + "/theirs.bmp", "BM theirs");
    zyrtest::writeBytes(home_ + "/text.bmp", "echo hello\n");
    zyrtest::writeBytes(home_ + "/own.bmp", "BM mine");
    fs::create_symlink(home_ + "/own.bmp", home_ + "/mine.bmp");
    zyrtest::writeBytes(home_ + "/notes.json", "echo hello\n");
    const std::string sSave = sTempFolder() + "/" + r.sSave;
    vSetKey("SaveFileName", sSave);
    vSetKey("SaveInfo", r.sSaveInfo);

    frmMain& frm = load();
    EXPECT_EQ(frm.f.m_BooLoad, r.sRefused == nullptr ? -1 : 0);
    EXPECT_EQ(zyrtest::readBytes(home_ + "/.bashrc"), "echo hello\n");
    if (r.sRefused == nullptr) {
        EXPECT_TRUE(boxes_.empty());
        return;
    }
    const std::string sNamed = r.booRecord ? sSave.substr(0, sSave.rfind('.')) + ".json" : sSave;
    const std::string sFirst = (r.booRecord ? kRecordOf : kImageOf) + sNamed + ".";
    EXPECT_EQ(boxTexts(), std::vector<std::string>{sFirst + "\r\n" + r.sRefused});
    EXPECT_EQ(sExitLine(2), "ZYR_PAN_WEQ: not started: " + sFirst);
}

INSTANTIATE_TEST_SUITE_P(
    Names, StartRefusal,
    ::testing::Values(
        StartRow{"ColleaguesLink", "shared/planted.bmp", "0", kLinkOfOther.c_str(), false},
        StartRow{"ColleaguesLinkedFolder", "shared/planted.bmp/x.bmp", "0", kLinkOfOther.c_str(), false},
        StartRow{"ColleaguesBitmapInTheSharedFolder", "shared/theirs.bmp", "0",
                 "A file of another user has that name, in a folder shared by several users.", false},
        StartRow{"NotABitmap", "home/text.bmp", "0", "The file there is not a bitmap; it is kept.", false},
        StartRow{"OwnLinkToOwnBitmap", "home/mine.bmp", "0", nullptr, false},
        StartRow{"ColleaguesLinkAsTheRecord", "shared/ZYR_PAN_WEQ.bmp", "1", kLinkOfOther.c_str(), true},
        StartRow{"ColleaguesLinkWithoutRecords", "shared/ZYR_PAN_WEQ.bmp", "0", nullptr, false},
        StartRow{"NotARecord", "home/notes.bmp", "1", "The file there is not an exposure record; it is kept.", true},
        StartRow{"RecordNamedAsTheBitmap", "home/image.json", "1",
                 "It would be the bitmap itself: SaveFileName must not end in .json.", true},
        StartRow{"JsonBitmapWithoutRecords", "home/image.json", "0", nullptr, false}),
    [](const ::testing::TestParamInfo<StartRow>& i) { return std::string(i.param.sName); });

// --- names planted while the exposure runs ---
enum class Late { Nothing, RecordLink, RecordFolder, BitmapLink };
struct LateRow {
    Late plant;
    const char* sSensor;  // [ZyrPan2] Sensor beside Link=tcp:, nullptr none
    const char* sWhy;     // the second line of the box after the interrupted-exposure question
    bool booRecord;       // that box is the record's
};
class LatePlant : public SharedPc, public ::testing::WithParamInterface<LateRow> {};

TEST_P(LatePlant, ThePreviousRecordGoesAndNothingIsWrittenWhereAColleagueSteered) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root: the planted files belong to another user";
    const LateRow& r = GetParam();
    const std::string sBitmap = shared_ + "/ZYR_PAN_WEQ.bmp", sRecord = shared_ + "/ZYR_PAN_WEQ.json";
    zyrtest::writeBytes(sRecord, sRecordText(sBitmap));  // the previous exposure's record
    vSetKey("SaveFileName", sBitmap);
    vSetKey("SaveInfo", "1");
    vSetKey("Link", "tcp:127.0.0.1:9", "ZyrPan2");
    if (r.sSensor != nullptr) vSetKey("Sensor", r.sSensor, "ZyrPan2");
    bool booOldRecordAtSave = true;
    scripted::unit().onCall = [&](const scripted::Call& c) {
        if (c.name == "ImageProcessingEx" && r.plant == Late::BitmapLink) vPlantLink(home_ + "/.bashrc", sBitmap);
        if (c.name != "SaveBitmap") return;
        booOldRecordAtSave = fs::exists(fs::symlink_status(sRecord));
        if (r.plant == Late::RecordLink) vPlantLink(home_ + "/.bashrc", sRecord);
        if (r.plant == Late::RecordFolder) fs::create_directory(sRecord);
    };
    frmMain& frm = connectIdle();
    App.g_lPictNo = 2;  // two images taken; Yes, make the image
    lBoxAnswer_ = platform::IDYES;
    const size_t nBefore = boxes_.size();
    frm.cmdClose->click();
    std::vector<std::string> after;
    for (size_t i = nBefore; i < boxes_.size(); ++i) after.push_back(boxes_[i].text);

    EXPECT_EQ(zyrtest::readBytes(home_ + "/.bashrc"), "echo hello\n");
    EXPECT_EQ(scripted::iCalls("SaveBitmap"), r.plant == Late::BitmapLink ? 0 : 1);
    if (r.plant != Late::BitmapLink) {
        EXPECT_FALSE(booOldRecordAtSave) << "the previous record beside the new bitmap";
    }
    const std::string sFirst = r.sWhy == nullptr ? "" : (r.booRecord ? kRecordOf + sRecord : kImageOf + sBitmap) + ".";
    std::vector<std::string> want{"Exposure was interrupted.\nDo you generate image?"};
    if (r.sWhy != nullptr) want.push_back(sFirst + "\r\n" + r.sWhy);
    EXPECT_EQ(after, want);
    // Status 0 only with the bitmap and its record.
    EXPECT_EQ(booImageSaved() && !App.g_booRecordFailed, r.sWhy == nullptr);
    if (r.sWhy != nullptr) {
        EXPECT_EQ(sExitLine(1), "ZYR_PAN_WEQ: no image: " + sFirst);
    }
    if (r.plant != Late::Nothing) return;
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(zyrtest::readBytes(sRecord))).object();
    EXPECT_EQ(o["complete"], QJsonValue(false)) << "this run's record";
    EXPECT_EQ(o["simulated"], QJsonValue(r.sSensor != nullptr));
}

INSTANTIATE_TEST_SUITE_P(
    Plants, LatePlant,
    ::testing::Values(LateRow{Late::Nothing, nullptr, nullptr, false}, LateRow{Late::Nothing, "sim", nullptr, false},
                      LateRow{Late::RecordLink, nullptr, kLinkOfOther.c_str(), true},
                      LateRow{Late::RecordFolder, nullptr, "The file there is not an exposure record; it is kept.", true},
                      LateRow{Late::BitmapLink, nullptr, kLinkOfOther.c_str(), false}));

// --- the simulated sensor on screen ---
struct MarkRow {
    const char* sLink;
    const char* sSensor;  // nullptr: no Sensor key
    int iLang;            // 1 English, 2 Japanese
    const char* sShown;   // nullptr: no marker
};
class SimulatorMark : public ConsoleTest, public ::testing::WithParamInterface<MarkRow> {};

// Faults: the marker missing for one of the library's two ways to simulate,
// shown for a real sensor, hidden or disabled by a state or a busy window,
// covered by a clip, a panel or a button.
TEST_P(SimulatorMark, ShownInEveryStateAndCoveredByNothing) {
    const MarkRow& r = GetParam();
    vSetResLanguage(r.iLang);
    vSetKey("Link", r.sLink, "ZyrPan2");
    vSetKey("Sensor", r.sSensor ? std::optional<std::string>(r.sSensor) : std::nullopt, "ZyrPan2");
    frmMain& frm = connectIdle();
    frm.Show(false);
    const ui::Label& mark = *frm.lblSimulator;
    const QRect rMark(mark.left(), mark.top(), mark.width(), mark.height());
    for (int32_t lStat : {0, 1, 3, 5, 7, 8, 9, 10, 11, 12, 13, 14, 16, 18, 20, 21, 100, 101}) {
        frm.vSetStat(lStat);
        for (bool booBusy : {false, true}) {
            frm.voi_btEnabledSet(!booBusy);
            EXPECT_EQ(mark.widget()->isVisible(), r.sShown != nullptr) << "state " << lStat;
            if (r.sShown == nullptr) continue;
            EXPECT_TRUE(mark.widget()->isEnabled()) << "state " << lStat;
            EXPECT_EQ(mark.caption().value_or(""), r.sShown);
            for (const ui::Control* c : frm.controls()) {
                if (c == &mark || c->container() != nullptr || c->widget() == nullptr || !c->widget()->isVisible()) continue;
                EXPECT_FALSE(rMark.intersects(QRect(c->left(), c->top(), c->width(), c->height())))
                    << c->name() << " over the marker in state " << lStat;
            }
        }
    }
    frm.voi_btEnabledSet(true);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SimulatorMark,
    ::testing::Values(MarkRow{"sim", nullptr, 1, "SIMULATOR — not for patients"},
                      MarkRow{"sim", nullptr, 2, "シミュレータ — 患者には使用できません"},
                      MarkRow{"tcp:127.0.0.1:9", "sim", 1, "SIMULATOR — not for patients"},
                      MarkRow{"serial:/dev/ttyS0:9600", "SIM", 1, "SIMULATOR — not for patients"},
                      MarkRow{"tcp:127.0.0.1:9", nullptr, 1, nullptr},
                      MarkRow{"tcp:127.0.0.1:9", "simulated", 1, nullptr}));

// --- no X-ray of a real unit for an invented image ---
struct ReadyRow {
    const char* sLink;
    const char* sSensor;
    int32_t lAnswer;
    bool booAsked;
    bool booSent;
};
class NoPatientQuestion : public ConsoleTest, public ::testing::WithParamInterface<ReadyRow> {};

// Faults: no question before a real unit's X-ray with the simulated sensor,
// a frame sent after No, the question asked again for READY's second run
// (after the unit's position report) or for the simulator alone.
TEST_P(NoPatientQuestion, EveryReadyOfARealUnitAsksFirst) {
    const ReadyRow& r = GetParam();
    vSetKey("Link", r.sLink, "ZyrPan2");
    vSetKey("Sensor", r.sSensor ? std::optional<std::string>(r.sSensor) : std::nullopt, "ZyrPan2");
    frmMain& frm = connectIdle();
    scripted::unit().reports["T1"] = {};
    const size_t nBefore = boxes_.size(), nSent = scripted::commands().size();
    lBoxAnswer_ = r.lAnswer;
    frm.cmdStart->click();
    vTicks(1);  // the position report runs READY again: the exposure command
    const std::string sAsk = "The sensor is simulated: the unit will give X-rays, but the image will be invented.\r\n"
                             "Confirm that no patient is in the unit.\r\nStart the exposure?";
    std::vector<std::string> asked;
    for (size_t i = nBefore; i < boxes_.size(); ++i) asked.push_back(boxes_[i].text);
    EXPECT_EQ(asked, r.booAsked ? std::vector<std::string>{sAsk} : std::vector<std::string>{});
    const std::vector<std::string> all = scripted::commands();
    const std::vector<std::string> sent(all.begin() + static_cast<long>(nSent), all.end());
    if (!r.booSent) {
        EXPECT_TRUE(sent.empty());
        return;
    }
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0], "c1");
    EXPECT_EQ(sent.back().rfind("NP_", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Links, NoPatientQuestion,
    ::testing::Values(ReadyRow{"tcp:127.0.0.1:9", "sim", platform::IDNO, true, false},
                      ReadyRow{"tcp:127.0.0.1:9", "sim", platform::IDYES, true, true},
                      ReadyRow{"serial:/dev/ttyS0:9600", "Sim", platform::IDNO, true, false},
                      ReadyRow{"sim", nullptr, platform::IDNO, false, true},
                      ReadyRow{"sim", "sim", platform::IDNO, false, true},
                      ReadyRow{"tcp:127.0.0.1:9", nullptr, platform::IDNO, false, true}));

// --- a fresh package installation's first start ---
// Faults: the package's default running the simulator unannounced, the
// message not naming the file to edit (the real one behind the program
// folder's link) or not saying what to write, the bitmap shared in /tmp.
TEST_F(ConsoleTest, FreshPackageSaysWhereTheSettingsAreAndWhatToWrite) {
    std::ifstream in(ZYR_PACKAGE_INI, std::ios::binary);
    const std::string sPackage((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(sPackage.empty()) << "no package default at " << ZYR_PACKAGE_INI;
    // The installed layout: the program folder's settings file links to the real one.
    const std::string sReal = sTempFolder() + "/var/ZYR_PAN_WEQ.ini";
    fs::create_directory(sTempFolder() + "/var");
    // One connection attempt, not ten seconds of them on a clock that stands.
    std::string sOnce = sPackage;
    const size_t at = sOnce.find("InitRetryTime_Boot=");
    ASSERT_NE(at, std::string::npos);
    sOnce.replace(at, sOnce.find('\n', at) - at, "InitRetryTime_Boot=0");
    zyrtest::writeBytes(sReal, sOnce);
    fs::create_symlink(sReal, sIniPath());
    const char* sHome = std::getenv("HOME");
    const std::string sOldHome = sHome ? sHome : "";
    setenv("HOME", (sTempFolder() + "/operator").c_str(), 1);
    for (int iLang : {1, 2}) {
        vSetResLanguage(iLang);
        vResetAppState();
        boxes_.clear();
        sim::vResetLibrary();
        vSetZyrLib(simTable());
        ASSERT_TRUE(booReadSetting());
        EXPECT_EQ(sBitmapPath(), sTempFolder() + "/operator/ZYR_PAN_WEQ.bmp");
        EXPECT_FALSE(App.g_booSimSensor);
        frm_ = std::make_unique<frmMain>();
        frm_->Load();
        frm_->Form_Activate();
        for (int i = 0; i < 50 && boxes_.size() < 2; ++i) vTicks(100);
        ASSERT_GE(boxes_.size(), 2u);
        const std::string& sBox = boxes_[1].text;
        EXPECT_NE(sBox.find("(-4)"), std::string::npos) << sBox;
        EXPECT_NE(sBox.find(sReal), std::string::npos) << sBox;
        for (const char* sWrite : {"Link=sim", "Link=tcp:", "Link=serial:"}) EXPECT_NE(sBox.find(sWrite), std::string::npos) << sBox;
        if (iLang == 1) {
            EXPECT_NE(sBox.find("No Link setting: section [ZyrPan2] of the settings file " + sReal + " does not say how the unit is connected."),
                      std::string::npos) << sBox;
        }
        frm_.reset();
        platform::vReleaseInstance();
    }
    unsetenv("HOME");
    EXPECT_EQ(platform::sExpandHome("~/ZYR_PAN_WEQ.bmp"), std::string(getpwuid(getuid())->pw_dir) + "/ZYR_PAN_WEQ.bmp")
        << "without HOME, the user's home from the password entry";
    if (sHome) setenv("HOME", sOldHome.c_str(), 1);
}

// --- one console per settings file, whoever starts it ---
// True once the process holds its lock on the folder (the kernel's list).
bool booHoldsLock(qint64 pid, const std::string& folder) {
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0) return false;
    std::ifstream locks("/proc/locks");
    const std::string sInode = ":" + std::to_string(st.st_ino) + " ";
    for (std::string line; std::getline(locks, line);)
        if (line.find("FLOCK") != std::string::npos && line.find(" " + std::to_string(pid) + " ") != std::string::npos &&
            line.find(sInode) != std::string::npos)
            return true;
    return false;
}

// Faults: the guard kept per user (the second operator's console runs on
// the same unit), or the second console ending without its line.
TEST(TwoConsoles, TheSecondEndsWhoeverStartsIt) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to start a console as another user";
    QTemporaryDir dir;
    const QString stage = std::getenv("ZYR_STAGE_DIR");
    for (const char* f : {"ZYR_PAN_WEQ", "libZyrPan2.so"}) ASSERT_TRUE(QFile::copy(stage + "/" + f, dir.filePath(f))) << "run through ctest";
    std::string sIni = sDefaultSettingsText();
    const size_t at = sIni.find("SaveFileName=");
    sIni.replace(at, sIni.find('\n', at) - at, "SaveFileName=" + dir.filePath("image.bmp").toStdString());
    zyrtest::writeBytes(dir.filePath("ZYR_PAN_WEQ.ini").toStdString(), sIni);
    ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0755), 0);
    ASSERT_EQ(chmod(dir.filePath("ZYR_PAN_WEQ.ini").toLocal8Bit().constData(), 0644), 0);
    const auto start = [&](QProcess& p, bool booNobody) {
        p.setEnvironment({"QT_QPA_PLATFORM=offscreen", "HOME=" + dir.path()});
        if (booNobody) {
            p.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "--", dir.filePath("ZYR_PAN_WEQ")});
        } else {
            p.start(dir.filePath("ZYR_PAN_WEQ"), {});
        }
    };
    for (bool booNobodyFirst : {false, true}) {
        QProcess first, second;
        start(first, booNobodyFirst);
        ASSERT_TRUE(first.waitForStarted(10000));
        bool booHeld = false;
        for (int i = 0; i < 300 && !booHeld && first.state() == QProcess::Running; ++i) {
            QThread::msleep(50);
            booHeld = booHoldsLock(first.processId(), dir.path().toStdString());
        }
        ASSERT_TRUE(booHeld) << "the first console did not start: " << first.readAllStandardError().toStdString();
        start(second, !booNobodyFirst);
        ASSERT_TRUE(second.waitForFinished(30000));
        EXPECT_EQ(second.exitCode(), 2) << (booNobodyFirst ? "root after nobody" : "nobody after root");
        EXPECT_EQ(QString(second.readAllStandardError()).split('\n').filter(QRegularExpression("^ZYR_PAN_WEQ")).join('\n'),
                  "ZYR_PAN_WEQ: not started: another console is running on the settings file " + dir.filePath("ZYR_PAN_WEQ.ini"));
        EXPECT_EQ(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished(10000);
    }
}

}  // namespace
