// The console's receive path: whatever the unit sends, cut into any reads,
// goes through the scanner, the waits for an ACK and the interpretation of
// the unit's reports, from a state the input also chooses.
#include <fuzzer/FuzzedDataProvider.h>

#include "link/answer.h"
#include "link/scanner.h"
#include "platform/message_box.h"
#include "tests/support/recording_main.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::FakeClock clock;
    vResetAppState();
    scripted::vReset(clock);
    RecordingMain w;
    vSetMainWindow(&w);

    FuzzedDataProvider in(data, size);
    App.g_lStat = in.ConsumeIntegralInRange(0, 22);
    App.g_lPictNo = in.ConsumeIntegralInRange(0, 2);
    App.g_lHalfMode = in.ConsumeBool();
    w.f.m_lUnitPos = in.ConsumeIntegralInRange(0, 3);
    w.f.m_lModeIdx = in.ConsumeIntegralInRange(0, 9);
    w.f.m_booAutoStart = in.ConsumeBool();
    w.lSensMduResult = in.ConsumeBool();
    const int32_t lBoxAnswer = in.ConsumeBool() ? platform::IDYES : platform::IDNO;
    platform::vSetMsgBoxResponder([lBoxAnswer](const platform::MsgBoxCall&) { return lBoxAnswer; });
    // Each piece is raw bytes or a report text framed with its checksum, and
    // either a read or the unit's answer to a frame the console sends.
    scripted::Unit& unit = scripted::unit();
    while (in.remaining_bytes() > 0) {
        std::string piece = in.ConsumeRandomLengthString(1024);
        if (in.ConsumeBool()) piece = scripted::sFrame(piece);
        (in.ConsumeBool() ? unit.frameReplies : unit.reads).push_back(std::move(piece));
    }

    int32_t lHandled = 1;
    for (size_t n = 0; lHandled == 1 && n < size + 16; ++n) {
        vRecvProc();
        if (App.g_booLinkErr) break;
        const std::string sAnswer = sGetAnswer();
        if (!sAnswer.empty()) vParseAnswer(sAnswer, lHandled);
        if (unit.reads.empty() && unit.line.empty() && !App.g_tLink.booRecvPending) break;
    }
    vSetMainWindow(nullptr);
    return 0;
}
