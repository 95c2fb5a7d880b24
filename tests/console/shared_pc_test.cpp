// The console on a clinic computer several operators share, with one
// settings file every operator may change: names another user planted where
// the bitmap and its record go, the record of another exposure, the
// simulated sensor on screen and before a real unit's X-ray, a fresh
// package's first start, and one console per settings file across users.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "app/app_state.h"
#include "app/run_end.h"
#include "app/settings.h"
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

}  // namespace
