#include "tests/console/fake_unit.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/tick_clock.h"

namespace fake {
namespace {
Unit s_unit;

std::string sFrame(const std::string& sText) {
    const std::string sBody = sText + " ";
    unsigned uSum = 0;
    for (unsigned char c : sBody) uSum += c;
    char sSum[3];
    std::snprintf(sSum, sizeof sSum, "%02x", uSum & 0xFFu);
    return std::string(1, '\x02') + sBody + sSum + '\x03';
}

int32_t Init(const char*, int32_t) { ++s_unit.calls["Init"]; return 0; }
int32_t SetCommInit() {
    ++s_unit.calls["SetCommInit"];
    if (s_unit.onCommInit) s_unit.onCommInit();
    if (s_unit.ulCommInitMs != 0) platform::Sleep(s_unit.ulCommInitMs);
    if (s_unit.commInitResults.empty()) return 0;
    const int32_t r = s_unit.commInitResults.front();
    s_unit.commInitResults.pop_front();
    return r;
}
int32_t SetSensMduInit(const char*, int32_t) { ++s_unit.calls["SetSensMduInit"]; return s_unit.lSensInitResult; }
int32_t ResetAll() { ++s_unit.calls["ResetAll"]; return s_unit.lResetAllResult; }
int32_t SetParamforPictEx(const char*, int32_t, int32_t, int32_t) { ++s_unit.calls["SetParamforPictEx"]; return 0; }
int32_t SetWaitXExpose() { ++s_unit.calls["SetWaitXExpose"]; return 0; }
int32_t CheckPictStatus(uint8_t* p) {
    ++s_unit.calls["CheckPictStatus"];
    *p = s_unit.bytPictStat;
    return s_unit.lCheckPictResult;
}
int32_t GetImageDataEx(int32_t) { ++s_unit.calls["GetImageDataEx"]; return 0; }
int32_t SetDeviceFree() { ++s_unit.calls["SetDeviceFree"]; return 0; }
int32_t ImageProcessingEx(const char*, int32_t* a, int32_t* b) {
    ++s_unit.calls["ImageProcessingEx"];
    *a = 4;
    *b = 2;
    return 0;
}
int32_t SaveBitmap(const char*, int32_t, int32_t, int32_t, int32_t, const char* sName) {
    ++s_unit.calls["SaveBitmap"];
    s_unit.sLastBitmap = sName;
    return s_unit.lSaveBitmapResult;
}
int32_t Send(const char* sText, int16_t iLen) {
    ++s_unit.calls["Ether232Send"];
    const std::string s(sText, static_cast<size_t>(std::max<int16_t>(iLen, 0)));
    if (s.size() == 1) {  // the console's ACK or NAK of one of our reports
        s_unit.sConsoleReplies += s;
        return 0;
    }
    // STX text blank checksum ETX
    const std::string sCmd = s.size() >= 5 ? s.substr(1, s.size() - 5) : s;
    s_unit.sent.push_back(sCmd);
    if (s_unit.booAck) {
        s_unit.sPending += '\x06';
        auto it = s_unit.replies.find(sCmd);
        if (it != s_unit.replies.end())
            for (const auto& r : it->second) s_unit.sPending += sFrame(r);
    }
    return 0;
}
int32_t Recv(char* sBuf) {
    ++s_unit.calls["Ether232Recv"];
    if (s_unit.booLinkLost) return -1;
    const size_t n = std::min<size_t>(s_unit.sPending.size(), 1024);
    std::memcpy(sBuf, s_unit.sPending.data(), n);
    s_unit.sPending.erase(0, n);
    return static_cast<int32_t>(n);
}
}  // namespace

Unit& unit() { return s_unit; }
void vReset() { s_unit = Unit{}; }

ZyrLib lib() {
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
    l.Ether232Send = &Send;
    l.Ether232Recv = &Recv;
    return l;
}

void vQueueReport(const std::string& sText) { s_unit.sPending += sFrame(sText); }

int iSentCount(const std::string& sText) {
    return static_cast<int>(std::count(s_unit.sent.begin(), s_unit.sent.end(), sText));
}

}  // namespace fake
