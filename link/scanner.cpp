#include "link/scanner.h"

#include <cctype>

#include "app/app_state.h"
#include "link/frames.h"
#include "sensor/zyr_lib.h"

namespace {
constexpr int32_t MIN_FRAME = 5;     // STX, blank, two checksum digits, ETX
constexpr int32_t MAX_FRAME = 1024;  // as long as the receive buffer

bool booSameDigit(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// A frame ended by ETX: verified and answered with ACK or NAK.
void vCompleteFrame() {
    tLinkRecord& t = App.g_tLink;
    t.booInFrame = false;
    t.sFrame += ETX;
    // The reply goes out as a text ended by a NUL: a library that reads its
    // text argument as a C string stops after the one byte.
    char sReply[2] = {NAK, '\0'};
    const auto L = static_cast<int32_t>(t.sFrame.size());
    if (L >= MIN_FRAME && L <= MAX_FRAME) {
        const std::string sSum = sGetCheckSum(t.sFrame, 2, L - 4);
        // The unit may write its checksum in either case.
        if (booSameDigit(sSum[0], t.sFrame[L - 3]) && booSameDigit(sSum[1], t.sFrame[L - 2])) {
            App.g_sLinkAnswer = t.sFrame;
            sReply[0] = ACK;
        }
    }
    // A lost ACK or NAK is the unit's to notice: it sends its frame again.
    (void)zyr().Ether232Send(sReply, 1);
}
}  // namespace

void vRecvProc() {
    tLinkRecord& t = App.g_tLink;
    int32_t lStart = 1;
    if (t.booRecvPending) {
        t.booRecvPending = false;
        lStart = t.lRecvPos + 1;
    } else {
        App.g_booInRecv = true;
        t.lRecvLen = zyr().Ether232Recv(t.sRecvBuf);
        App.g_booInRecv = false;
        if (t.lRecvLen < 0) App.g_booLinkErr = true;
    }
    if (t.lRecvLen < 1) return;

    // Never scan past the buffer, whatever count the library claims.
    const int32_t lEnd = t.lRecvLen < MAX_FRAME ? t.lRecvLen : MAX_FRAME;
    bool booEvent = false;
    for (int32_t pos = lStart; pos <= lEnd && !booEvent; ++pos) {
        t.lRecvPos = pos;
        const char ch = t.sRecvBuf[pos - 1];
        if (ch == ACK || ch == NAK) {
            t.booInFrame = false;  // a frame being assembled is abandoned
            App.g_sLinkAnswer.assign(1, ch);
            booEvent = true;
        } else if (ch == STX) {
            t.booInFrame = true;
            App.g_sLinkAnswer.clear();
            t.sFrame.assign(1, STX);
        } else if (t.booInFrame && ch == ETX) {
            vCompleteFrame();
            booEvent = true;
        } else if (t.booInFrame) {
            // Beyond the longest frame the rest only makes it longer still:
            // it is refused at its ETX either way, so memory stays bounded.
            if (static_cast<int32_t>(t.sFrame.size()) <= MAX_FRAME) t.sFrame += ch;
        }
    }
    if (booEvent && t.lRecvPos < lEnd) t.booRecvPending = true;
}

std::string sGetAnswer() {
    std::string s;
    s.swap(App.g_sLinkAnswer);
    const auto L = s.size();
    if (L > 4) {
        s = s.substr(1, L - 4);
        const auto b = s.find_first_not_of(' ');
        if (b == std::string::npos) {
            s.clear();
        } else {
            s = s.substr(b, s.find_last_not_of(' ') - b + 1);
        }
    }
    if (s.size() == 1 && (s[0] == ACK || s[0] == NAK)) s.clear();
    return s;
}
