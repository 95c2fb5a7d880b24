// The exposure record beside the bitmap, after whole exposures on our own
// library linked in: the embedded unit and sensor on the console's fake clock.
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "app/run_end.h"
#include "tests/console/sim_run.h"
#include "tests/support/temp_dir.h"

namespace {

// Keys of the run (a null value drops the key); `blocked` puts a folder where
// the record goes; the record's fields expected, or nullptr for no record.
struct Run {
    const char* mode;
    std::vector<std::pair<const char*, const char*>> keys;
    bool blocked;
    const char* want;
};
class ExposureRecord : public SimRunTest, public ::testing::WithParamInterface<Run> {};

TEST_P(ExposureRecord, FollowsTheBitmapOnlyWithSaveInfo1) {
    zyrtest::writeBytes(sFolder() + "/libZyrPan2.so", "abc");  // the library named, of known digest
    // The hand switch is let go 1.5 s after the X-ray starts, within the
    // second TMJ image and after a whole panorama.
    vUseSim("XrayGap=3000 HandSwitchHold=1500", sFolder() + "/libZyrPan2.so");
    vSetKey("SaveInfo", "1");
    vSetKey("DefMode", GetParam().mode);
    for (const auto& [key, value] : GetParam().keys) vSetKey(key, value ? std::optional<std::string>(value) : std::nullopt);
    const std::string sRecord = sTempFolder() + "/image.json";

    const QDateTime tBefore = QDateTime::currentDateTime().addSecs(-1);
    // A folder in the record's way once the start has checked the names
    // (at the power-on notice).
    if (GetParam().blocked) onBox = [&] { QDir().mkpath(QString::fromStdString(sRecord)); };
    vExpose();
    EXPECT_TRUE(booImageSaved());  // the bitmap stays, whatever becomes of the record
    // Without its record the run ends with status 1, and says so.
    EXPECT_EQ(App.g_booRecordFailed, GetParam().blocked);
    EXPECT_EQ(sExitLine(1), GetParam().blocked ? "ZYR_PAN_WEQ: no image: The exposure record cannot be written as " + sRecord + "."
                                               : "ZYR_PAN_WEQ: no image: the window was closed");
    QFile f(QString::fromStdString(sRecord));
    ASSERT_EQ(f.open(QIODevice::ReadOnly), GetParam().want != nullptr);
    if (GetParam().want == nullptr) return;

    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    QJsonObject want = QJsonDocument::fromJson(GetParam().want).object();
    want["library"] = QJsonObject{{"file", QString::fromStdString(sFolder() + "/libZyrPan2.so")},
                                  {"sha256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"}};
    for (const QString& k : want.keys()) EXPECT_EQ(o[k], want[k]) << k.toStdString() << " in " << QJsonDocument(o).toJson().toStdString();
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+\\.\\d+$").match(o["program"]["version"].toString()).hasMatch());
    // Local times to the second with their offset; the start before the end.
    const QRegularExpression iso("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$");
    EXPECT_TRUE(iso.match(o["start"].toString()).hasMatch() && iso.match(o["end"].toString()).hasMatch());
    const auto at = [&o](const char* k) { return QDateTime::fromString(o[k].toString(), Qt::ISODate); };
    EXPECT_TRUE(tBefore <= at("start") && at("start") <= at("end") && at("end") <= QDateTime::currentDateTime());
}

INSTANTIATE_TEST_SUITE_P(Runs, ExposureRecord, ::testing::Values(
        // A small patient's default conditions in the child panorama.
        Run{"1", {{"M1_Select", "2"}, {"M1_VoltDef2", "64"}, {"M1_ElecDef2", "6"}}, false,
            R"({"mode": {"index": 1, "name": "panorama child"}, "kV": 64, "mA": 6, "complete": true, "simulated": true,
                "patientSize": {"index": 2, "name": "small"}, "images": {"exposed": 1, "expected": 1}})"},
        // The hand switch let go after the first TMJ image; Yes to the question.
        Run{"2", {}, false, R"({"mode": {"index": 2, "name": "TMJ"}, "kV": 70, "mA": 6, "patientSize": null,
                                "images": {"exposed": 1, "expected": 4}, "complete": false})"},
        Run{"0", {{"SaveInfo", "0"}}, false, nullptr}, Run{"0", {{"SaveInfo", nullptr}}, false, nullptr},
        Run{"0", {}, true, nullptr}));

}  // namespace
