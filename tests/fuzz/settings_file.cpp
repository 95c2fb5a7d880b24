// The settings file as anyone may have left it: the profile-string reader
// and writer on it, then the console's reading of all its keys and the
// library's reading of where the unit is, and the [DICOM] section.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <vector>

#include "app/app_state.h"
#include "app/settings.h"
#include "dicom/dicom_settings.h"
#include "platform/message_box.h"
#include "platform/profile_string.h"
#include "platform/program_folder.h"
#include "sim/ini_keys.h"
#include "sim/link_spec.h"
#include "tests/support/temp_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const zyrtest::TempDir dir;
    static const bool booOnce = [] {
        platform::vSetProgramFolder(dir.path());
        platform::vSetMsgBoxResponder([](const platform::MsgBoxCall&) { return platform::IDOK; });
        return true;
    }();
    (void)booOnce;
    FuzzedDataProvider in(data, size);
    const std::string sSection = in.ConsumeRandomLengthString(32);
    const std::string sKey = in.ConsumeRandomLengthString(32);
    const std::string sValue = in.ConsumeRandomLengthString(64);
    const auto lSize = in.ConsumeIntegralInRange<uint32_t>(1, 600);
    const std::string sPath = sSettingsPath();
    zyrtest::writeBytes(sPath, in.ConsumeRemainingBytesAsString());

    std::vector<char> buf(lSize + 1, '\x7f');
    const uint32_t n =
        platform::GetPrivateProfileStringA(sSection.c_str(), sKey.c_str(), sValue.c_str(), buf.data(), lSize, sPath.c_str());
    // The answer stays inside the buffer and ends with a NUL.
    if (n >= lSize || buf[n] != '\0' || buf[lSize] != '\x7f') std::abort();
    (void)platform::WritePrivateProfileStringA(sSection.c_str(), sKey.c_str(), sValue.c_str(), sPath.c_str());
    vResetAppState();
    (void)booReadSetting();
    (void)sim::parseLinkSpec(sim::sIniText(sPath, "Link"));
    // [DICOM]: what is accepted is usable (a spool folder, a size, ports).
    tDicomSettings tDicom;
    std::string sWhy;
    if (booReadDicomSettings(sPath, dir.path(), tDicom, sWhy) && tDicom.booEnabled &&
        (tDicom.sSpool.empty() || !(tDicom.dPixelSpacing > 0.0) || (tDicom.tStore.booSet() && tDicom.tStore.iPort > 65535)))
        std::abort();
    return 0;
}
