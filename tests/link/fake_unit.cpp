#include "tests/link/fake_unit.h"

#include <cstdio>
#include <cstring>

#include "app/app_state.h"

namespace fakeunit {

std::vector<std::string> trace;
Unit unit;

namespace {
platform::FakeClock* s_clock = nullptr;
size_t s_frameCount = 0;
std::string s_pending;  // bytes the unit has put on the line, not yet read

bool booIsFrame(const std::string& s) { return s.size() >= 5 && s.front() == 0x02 && s.back() == 0x03; }

std::string sDescribe(const std::string& s) {
    if (s == "\x06") return "> ACK";
    if (s == "\x15") return "> NAK";
    if (booIsFrame(s)) return "> " + s.substr(1, s.size() - 5);
    return "> raw " + sHex(s);
}

void vOnSleep(void*, uint32_t) {
    const uint32_t now = s_clock->tickCount();
    for (auto it = unit.timed.begin(); it != unit.timed.end();) {
        if (now >= it->tick) {
            s_pending += it->bytes;
            it = unit.timed.erase(it);
        } else {
            ++it;
        }
    }
}

int32_t Init(const char* sPath, int32_t lFlag) {
    unit.sInitPath = sPath;
    unit.lInitFlag = lFlag;
    ++unit.lInitCalls;
    trace.push_back("lib Init");
    return 0;
}
int32_t SetCommInit() {
    ++unit.lCommInitCalls;
    trace.push_back("lib SetCommInit");
    return unit.lCommInitResult;
}
int32_t SetSensMduInit(const char*, int32_t) { return 0; }
int32_t ResetAll() {
    ++unit.lResetAllCalls;
    trace.push_back("lib ResetAll");
    return 0;
}
int32_t SetParamforPictEx(const char*, int32_t, int32_t, int32_t) { return 0; }
int32_t SetWaitXExpose() { return 0; }
int32_t CheckPictStatus(uint8_t* p) {
    *p = 0;
    return 0;
}
int32_t GetImageDataEx(int32_t) { return 0; }
int32_t SetDeviceFree() {
    ++unit.lDeviceFreeCalls;
    trace.push_back("lib SetDeviceFree");
    return 0;
}
int32_t ImageProcessingEx(const char*, int32_t* a, int32_t* b) {
    *a = 0;
    *b = 0;
    return 0;
}
int32_t SaveBitmap(const char*, int32_t, int32_t, int32_t, int32_t, const char*) { return 0; }

int32_t Ether232Send(const char* sText, int16_t iLen) {
    const std::string bytes(sText, static_cast<size_t>(iLen));
    const size_t n = unit.sends.size();
    unit.sends.push_back({bytes, s_clock->tickCount()});
    trace.push_back(sDescribe(bytes));
    const int32_t lResult = n < unit.sendResults.size() ? unit.sendResults[n] : 0;
    if (lResult == 0 && booIsFrame(bytes)) {
        if (s_frameCount < unit.frameReplies.size()) s_pending += unit.frameReplies[s_frameCount];
        ++s_frameCount;
    }
    return lResult;
}

int32_t Ether232Recv(char* sBuf) {
    unit.inRecvDuringRead.push_back(App.g_booInRecv);
    if (unit.booRecvOverride) return unit.lRecvOverride;
    std::string chunk;
    if (!unit.reads.empty()) {
        chunk = unit.reads.front();
        unit.reads.pop_front();
    } else {
        chunk = s_pending.substr(0, 1024);
        s_pending.erase(0, chunk.size());
    }
    if (chunk.size() > 1024) chunk.resize(1024);
    std::memcpy(sBuf, chunk.data(), chunk.size());
    return static_cast<int32_t>(chunk.size());
}
}  // namespace

void vReset(platform::FakeClock& clock) {
    unit = Unit{};
    trace.clear();
    s_frameCount = 0;
    s_pending.clear();
    s_clock = &clock;
    clock.onSleep = &vOnSleep;
    clock.ctx = nullptr;
    platform::vSetClock(&clock);
    vSetZyrLib(table());
}

ZyrLib table() {
    ZyrLib l;
    l.Init = &Init;
    l.SetCommInit = &SetCommInit;
    l.SetSensMduInit = &SetSensMduInit;
    l.ResetAll = &ResetAll;
    l.SetParamforPictEx = &SetParamforPictEx;
    l.SetWaitXExpose = &SetWaitXExpose;
    l.CheckPictStatus = &CheckPictStatus;
    l.GetImageDataEx = &GetImageDataEx;
    l.SetDeviceFree = &SetDeviceFree;
    l.ImageProcessingEx = &ImageProcessingEx;
    l.SaveBitmap = &SaveBitmap;
    l.Ether232Send = &Ether232Send;
    l.Ether232Recv = &Ether232Recv;
    return l;
}

std::string sFrame(const std::string& sText) {
    const std::string body = sText + ' ';
    unsigned sum = 0;
    for (unsigned char c : body) sum += c;
    char cs[3];
    std::snprintf(cs, sizeof cs, "%02x", sum % 256);
    return "\x02" + body + cs + "\x03";
}

std::vector<std::string> vecCommands() {
    std::vector<std::string> v;
    for (const auto& s : unit.sends)
        if (booIsFrame(s.bytes)) v.push_back(s.bytes.substr(1, s.bytes.size() - 5));
    return v;
}

std::vector<std::string> vecWire() {
    std::vector<std::string> v;
    for (const auto& s : unit.sends) v.push_back(sDescribe(s.bytes));
    return v;
}

std::vector<std::string> vecTrace(const std::vector<std::string>& prefixes) {
    std::vector<std::string> v;
    for (const auto& t : trace)
        for (const auto& p : prefixes)
            if (t.rfind(p, 0) == 0) {
                v.push_back(t);
                break;
            }
    return v;
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

}  // namespace fakeunit
