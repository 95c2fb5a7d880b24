// [DICOM] as a person may have written it: each key read at both sides of
// its limits, and the message that names the key when a value is refused.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "dicom/dicom_settings.h"
#include "platform/link_spec.h"
#include "tests/support/temp_dir.h"

namespace {

// The settings as the console takes them, in one line, or why they are refused.
std::string sRead(const std::string& sLines) {
    zyrtest::TempDir dir;
    zyrtest::writeBytes(dir.file("ZYR_PAN_WEQ.ini"), "[ZYR_PAN_WEQ]\r\nVolt=70\r\n[DICOM]\r\n" + sLines);
    tDicomSettings t;
    std::string sWhy;
    if (!booReadDicomSettings(dir.file("ZYR_PAN_WEQ.ini"), "/opt/zyr", t, sWhy)) return sWhy;
    if (!t.booEnabled) return "off";
    const auto peer = [](const tDicomPeer& p) { return p.booSet() ? p.sAE + "@" + p.sHost + ":" + std::to_string(p.iPort) : "-"; };
    std::ostringstream o;
    o << (t.booCommit ? "commit " : "") << t.dPixelSpacing << " " << t.sStationAE << " " << t.sStationName.size() << " "
      << t.sInstitution.size() << " " << peer(t.tStore) << " " << peer(t.tWorklist) << " " << t.sSpool;
    return o.str();
}

const std::string kOn = "Enabled=1\r\nPixelSpacing=0.1\r\n";

// Each key at both sides of its limits; a refusal names the key. Switched
// off, the other keys are not looked at.
TEST(DicomSettings, EachKeyAtItsLimitsAndPastThem) {
    std::string s64;
    for (int i = 0; i < 64; ++i) s64 += "歯";
    for (const auto& [sLines, sWant] : std::vector<std::pair<std::string, std::string>>{
             {"", "off"},
             {"Enabled=0\r\nPixelSpacing=x\r\nStore=x\r\n", "off"},
             {"Enabled=1\r\nPixelSpacing= 10 \r\nStationAE=ABCDEFGHIJKLMNOP\r\nStationName=" + std::string(16, 's') +
                  "\r\nInstitution=" + s64 + "\r\nStore=PACS@127.0.0.1:65535\r\nWorklist=RIS@[::1]:1\r\nCommit=1\r\nSpool=q/\r\n",
              "commit 10 ABCDEFGHIJKLMNOP 16 192 PACS@127.0.0.1:65535 RIS@[::1]:1 /opt/zyr/q"},
             {"Enabled=1\r\nPixelSpacing=0.0001\r\nSpool=/var/spool/zyr-pan-weq\r\n",
              "0.0001 ZYRPANWEQ 0 0 - - /var/spool/zyr-pan-weq"},
             {"Enabled=1\r\nPixelSpacing=0.0001\r\n", "0.0001 ZYRPANWEQ 0 0 - - /opt/zyr/spool"},
             {"Enabled=2\r\n", "[DICOM] Enabled=2: write 0 or 1"},
             {"Enabled=1\r\n", "[DICOM] PixelSpacing missing: the pixel size at the detector in mm"},
             {"Enabled=1\r\nPixelSpacing=0\r\n", "[DICOM] PixelSpacing=0: a size in mm above 0 and at most 10"},
             {"Enabled=1\r\nPixelSpacing=10.001\r\n", "[DICOM] PixelSpacing=10.001: a size in mm above 0 and at most 10"},
             {"Enabled=1\r\nPixelSpacing=0,1\r\n", "[DICOM] PixelSpacing=0,1: a size in mm above 0 and at most 10"},
             {"Enabled=1\r\nPixelSpacing=0.1mm\r\n", "[DICOM] PixelSpacing=0.1mm: a size in mm above 0 and at most 10"},
             {"Enabled=1\r\nPixelSpacing=nan\r\n", "[DICOM] PixelSpacing=nan: a size in mm above 0 and at most 10"},
             {kOn + "Commit=yes\r\n", "[DICOM] Commit=yes: write 0 or 1"},
             {kOn + "StationAE=ABCDEFGHIJKLMNOPQ\r\n", "[DICOM] StationAE=ABCDEFGHIJKLMNOPQ: 1 to 16 characters, no backslash"},
             {kOn + "StationName=" + std::string(17, 's') + "\r\n", "[DICOM] StationName: more than 16 characters"},
             {kOn + "Institution=" + std::string(65, 'i') + "\r\n", "[DICOM] Institution: more than 64 characters"},
             {kOn + "Institution=a\\b\r\n", "[DICOM] Institution: backslash"},
             {kOn + "Store=PACS@host:0\r\n", "[DICOM] Store: \"0\" is not a port (1 to 65535)"},
             {kOn + "Store=PACS@host:65536\r\n", "[DICOM] Store: \"65536\" is not a port (1 to 65535)"},
             {kOn + "Store=PACS@:104\r\n", "[DICOM] Store: \"PACS@:104\" names no host"},
             {kOn + "Store=host:104\r\n", "[DICOM] Store: \"host:104\" is not AE@host:port"},
             {kOn + "Worklist=ABCDEFGHIJKLMNOPQ@h:1\r\n",
              "[DICOM] Worklist: \"ABCDEFGHIJKLMNOPQ\" is not an AE title (1 to 16 characters, no backslash)"}}) {
        EXPECT_EQ(sRead(sLines), sWant) << sLines;
    }
}

}  // namespace

// The simulation mark goes on every image the simulated sensor made, and on
// no other.
TEST(SimulatedImage, FollowsTheLibrarysChoiceOfSensor) {
    for (const auto& [sLines, booSim] : std::vector<std::pair<std::string, bool>>{
             {"Link=sim\r\n", true},
             {"Link= SIM \r\n", true},
             {"Link=tcp:127.0.0.1:4001\r\nSensor=Sim\r\n", true},
             {"Link=serial:/dev/ttyUSB0\r\nSensor=sim\r\n", true},
             {"Link=tcp:127.0.0.1:4001\r\n", false},
             {"Link=tcp:127.0.0.1:4001\r\nSensor=real\r\n", false},
             {"Link=simulator\r\n", false},
             {"", false}}) {
        zyrtest::TempDir dir;
        zyrtest::writeBytes(dir.file("ZYR_PAN_WEQ.ini"), "[ZYR_PAN_WEQ]\r\nLink=sim\r\n[ZyrPan2]\r\n" + sLines);
        EXPECT_EQ(platform::readUnitChoice(dir.file("ZYR_PAN_WEQ.ini")).booSimulatedSensor, booSim) << sLines;
    }
}
