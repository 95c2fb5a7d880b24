#include "tests/support/scripted_lib.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app_state.h"

namespace scripted {
namespace {
Unit s_unit;
std::vector<std::string> s_trace;
platform::FakeClock* s_clock = nullptr;

bool booIsFrame(const std::string& s) { return s.size() >= 5 && s.front() == 0x02 && s.back() == 0x03; }
std::string sCommandOf(const std::string& s) { return s.substr(1, s.size() - 5); }

std::string sDescribe(const std::string& s) {
    if (s == "\x06") return "> ACK";
    if (s == "\x15") return "> NAK";
    if (booIsFrame(s)) return "> " + sCommandOf(s);
    return "> raw " + sHex(s);
}

// A wait that never ends would hang the test program on the fake clock: ten
// million pauses (more than a day of fake time) end it instead.
constexpr long kMaxSleeps = 10000000;
long s_lSleeps = 0;

void vCountSleep(void*, uint32_t) {
    if (++s_lSleeps > kMaxSleeps) {
        std::fprintf(stderr, "The program under test waits without end on the fake clock.\n");
        std::abort();
    }
}

// Records the call and gives its scripted status.
int32_t lAnswer(Call c) {
    s_unit.calls.push_back(c);
    if (c.name != "Ether232Send") s_trace.push_back("lib " + c.name);
    if (s_unit.onCall) s_unit.onCall(c);
    auto q = s_unit.queued.find(c.name);
    if (q != s_unit.queued.end() && !q->second.empty()) {
        const int32_t r = q->second.front();
        q->second.pop_front();
        return r;
    }
    auto it = s_unit.status.find(c.name);
    return it == s_unit.status.end() ? 0 : it->second;
}

int32_t Init(const char* s, int32_t f) { return lAnswer({"Init", s ? s : "", f}); }
int32_t SetCommInit() {
    const int32_t r = lAnswer({"SetCommInit"});
    if (s_unit.ulCommInitMs != 0) platform::Sleep(s_unit.ulCommInitMs);
    return r;
}
int32_t SetSensMduInit(const char* s, int32_t f) { return lAnswer({"SetSensMduInit", s ? s : "", f}); }
int32_t ResetAll() { return lAnswer({"ResetAll"}); }
int32_t SetParamforPictEx(const char* s, int32_t n, int32_t step, int32_t lag) {
    return lAnswer({"SetParamforPictEx", s ? s : "", n, step, lag});
}
int32_t SetWaitXExpose() { return lAnswer({"SetWaitXExpose"}); }
int32_t CheckPictStatus(uint8_t* p) {
    const int32_t r = lAnswer({"CheckPictStatus"});
    uint8_t b = s_unit.bytPictStat;
    if (!s_unit.pictBytes.empty()) {
        b = s_unit.pictBytes.front();
        s_unit.pictBytes.pop_front();
    }
    if (r == 0) *p = b;
    return r;
}
int32_t GetImageDataEx(int32_t n) { return lAnswer({"GetImageDataEx", "", n}); }
int32_t SetDeviceFree() { return lAnswer({"SetDeviceFree"}); }
int32_t ImageProcessingEx(const char* s, int32_t* v1, int32_t* v2) {
    const int32_t r = lAnswer({"ImageProcessingEx", s ? s : "", *v1, *v2});
    *v1 = s_unit.value1;
    *v2 = s_unit.value2;
    return r;
}
int32_t SaveBitmap(const char* s, int32_t v1, int32_t v2, int32_t z1, int32_t z2, const char* b) {
    return lAnswer({"SaveBitmap", std::string(s ? s : "") + "|" + (b ? b : ""), v1, v2, z1 + z2});
}

// The unit's answer to one command frame, as bytes on the line.
std::string sAnswerTo(const std::string& sCmd, int32_t& lResult) {
    if (!s_unit.frameReplies.empty()) {
        std::string s = s_unit.frameReplies.front();
        s_unit.frameReplies.pop_front();
        return s;
    }
    auto it = s_unit.replies.find(sCmd);
    switch (it == s_unit.replies.end() ? s_unit.reply : it->second) {
    case Reply::Ack: {
        std::string s = "\x06";
        auto r = s_unit.reports.find(sCmd);
        if (r != s_unit.reports.end())
            for (const auto& t : r->second) s += sFrame(t);
        return s;
    }
    case Reply::Nak: return "\x15";
    case Reply::Silent: return "";
    case Reply::Fail: lResult = s_unit.lSendFail; return "";
    }
    return "";
}

int32_t Ether232Send(const char* sText, int16_t iLen) {
    const std::string bytes(sText, static_cast<size_t>(std::max<int16_t>(iLen, 0)));
    s_unit.sends.push_back({bytes, s_clock ? s_clock->tickCount() : 0});
    // Reads one byte past the text, as a library taking a C string would.
    s_unit.sendsNulEnded.push_back(sText[std::max<int16_t>(iLen, 0)] == '\0');
    s_trace.push_back(sDescribe(bytes));
    int32_t lResult = lAnswer({"Ether232Send", bytes, iLen});
    if (lResult == 0 && booIsFrame(bytes)) {
        const std::string answer = sAnswerTo(sCommandOf(bytes), lResult);
        if (lResult == 0) s_unit.line += answer;
    }
    return lResult;
}

int32_t Ether232Recv(char* sBuf) {
    s_unit.inRecvDuringRead.push_back(App.g_booInRecv);
    if (s_unit.recvFail) return *s_unit.recvFail;
    std::string chunk;
    if (!s_unit.reads.empty()) {
        chunk = s_unit.reads.front();
        s_unit.reads.pop_front();
    } else {
        chunk = s_unit.line.substr(0, 1024);
        s_unit.line.erase(0, chunk.size());
    }
    if (chunk.size() > 1024) chunk.resize(1024);
    std::memcpy(sBuf, chunk.data(), chunk.size());
    return static_cast<int32_t>(chunk.size());
}
ZyrLib table() {
    ZyrLib l;
#define ZYRWEQ_CALL(ret, name, params, args) l.name = &name;
#include "sensor/zyrpan2_calls.def"
    return l;
}
}  // namespace

Unit& unit() { return s_unit; }
std::vector<std::string>& trace() { return s_trace; }

void vReset(platform::FakeClock& clock) {
    s_unit = Unit{};
    s_trace.clear();
    s_clock = &clock;
    s_lSleeps = 0;
    clock.onSleep = &vCountSleep;
    clock.ctx = nullptr;
    platform::vSetClock(&clock);
    vSetZyrLib(table());
}

std::string sFrame(const std::string& sText) {
    const std::string body = sText + ' ';
    unsigned sum = 0;
    for (unsigned char c : body) sum += c;
    char cs[3];
    std::snprintf(cs, sizeof cs, "%02x", sum % 256);
    return "\x02" + body + cs + "\x03";
}

void vQueueReport(const std::string& sText) { s_unit.line += sFrame(sText); }

std::vector<std::string> commands() {
    std::vector<std::string> v;
    for (const auto& s : s_unit.sends)
        if (booIsFrame(s.bytes)) v.push_back(sCommandOf(s.bytes));
    return v;
}

int iSent(const std::string& sCmd) {
    const auto v = commands();
    return static_cast<int>(std::count(v.begin(), v.end(), sCmd));
}

std::vector<std::string> wire() {
    std::vector<std::string> v;
    for (const auto& s : s_unit.sends) v.push_back(sDescribe(s.bytes));
    return v;
}

std::vector<std::string> traceOf(const std::vector<std::string>& prefixes) {
    std::vector<std::string> v;
    for (const auto& t : s_trace)
        for (const auto& p : prefixes)
            if (t.rfind(p, 0) == 0) {
                v.push_back(t);
                break;
            }
    return v;
}

std::string sTraceOf(const std::vector<std::string>& prefixes) {
    std::string s;
    for (const auto& t : traceOf(prefixes)) s += (s.empty() ? "" : "; ") + t;
    return s;
}

std::vector<std::string> callNames() {
    std::vector<std::string> v;
    for (const auto& c : s_unit.calls) v.push_back(c.name);
    return v;
}

int iCalls(const std::string& sName) {
    return static_cast<int>(
        std::count_if(s_unit.calls.begin(), s_unit.calls.end(), [&](const Call& c) { return c.name == sName; }));
}

Call lastCall(const std::string& sName) {
    for (auto it = s_unit.calls.rbegin(); it != s_unit.calls.rend(); ++it)
        if (it->name == sName) return *it;
    return {};
}

std::string sHex(const std::string& bytes) {
    std::string s;
    char b[4];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, s.empty() ? "%02x" : " %02x", c);
        s += b;
    }
    return s;
}

}  // namespace scripted
