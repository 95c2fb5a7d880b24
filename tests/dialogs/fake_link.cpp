#include "tests/dialogs/fake_link.h"

#include <algorithm>
#include <cstring>

namespace dlgfake {
namespace {
Unit s_unit;

constexpr char ACK = 0x06;
constexpr char NAK = 0x15;

int32_t Init(const char*, int32_t) { ++s_unit.calls["Init"]; return 0; }
int32_t SetCommInit() { ++s_unit.calls["SetCommInit"]; return 0; }
int32_t SetSensMduInit(const char*, int32_t) { ++s_unit.calls["SetSensMduInit"]; return 0; }
int32_t ResetAll() { ++s_unit.calls["ResetAll"]; return 0; }
int32_t SetParamforPictEx(const char*, int32_t, int32_t, int32_t) { return 0; }
int32_t SetWaitXExpose() { return 0; }
int32_t CheckPictStatus(uint8_t* p) {
    *p = 0;
    return 0;
}
int32_t GetImageDataEx(int32_t) { return 0; }
int32_t SetDeviceFree() { ++s_unit.calls["SetDeviceFree"]; return 0; }
int32_t ImageProcessingEx(const char*, int32_t* a, int32_t* b) {
    *a = 0;
    *b = 0;
    return 0;
}
int32_t SaveBitmap(const char*, int32_t, int32_t, int32_t, int32_t, const char*) { return 0; }

int32_t Send(const char* sText, int16_t iLen) {
    const std::string s(sText, static_cast<size_t>(std::max<int16_t>(iLen, 0)));
    if (s.size() <= 1) return 0;  // the console's ACK or NAK of a report
    // STX text blank checksum ETX
    const std::string sCmd = s.size() >= 5 ? s.substr(1, s.size() - 5) : s;
    auto it = s_unit.replies.find(sCmd);
    const Reply r = it == s_unit.replies.end() ? Reply::Ack : it->second;
    if (r == Reply::SendFails) return s_unit.lSendFailCode;
    s_unit.sent.push_back(sCmd);
    if (r == Reply::Ack) s_unit.sPending += ACK;
    if (r == Reply::Nak) s_unit.sPending += NAK;
    if (auto h = s_unit.onSend) h(sCmd);
    return 0;
}

int32_t Recv(char* sBuf) {
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

}  // namespace dlgfake
