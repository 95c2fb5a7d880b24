#include "tests/sensor/fake_lib.h"

namespace fakelib {

std::vector<Call> calls;
std::map<std::string, int32_t> status;
std::vector<uint8_t> pictBytes;
int32_t value1 = 0, value2 = 0;

namespace {
size_t s_nextByte = 0;

int32_t lAnswer(const std::string& name, const std::string& text = {}, int32_t a = 0, int32_t b = 0,
                int32_t c = 0) {
    calls.push_back({name, text, a, b, c});
    auto it = status.find(name);
    return it == status.end() ? 0 : it->second;
}

int32_t Init(const char* s, int32_t f) { return lAnswer("Init", s, f); }
int32_t SetCommInit() { return lAnswer("SetCommInit"); }
int32_t SetSensMduInit(const char* s, int32_t f) { return lAnswer("SetSensMduInit", s, f); }
int32_t ResetAll() { return lAnswer("ResetAll"); }
int32_t SetParamforPictEx(const char* s, int32_t n, int32_t st, int32_t lag) {
    return lAnswer("SetParamforPictEx", s, n, st, lag);
}
int32_t SetWaitXExpose() { return lAnswer("SetWaitXExpose"); }
int32_t CheckPictStatus(uint8_t* p) {
    const int32_t r = lAnswer("CheckPictStatus");
    if (r == 0 && s_nextByte < pictBytes.size()) *p = pictBytes[s_nextByte++];
    return r;
}
int32_t GetImageDataEx(int32_t n) { return lAnswer("GetImageDataEx", {}, n); }
int32_t SetDeviceFree() { return lAnswer("SetDeviceFree"); }
int32_t ImageProcessingEx(const char* s, int32_t* v1, int32_t* v2) {
    const int32_t r = lAnswer("ImageProcessingEx", s, *v1, *v2);
    *v1 = value1;
    *v2 = value2;
    return r;
}
int32_t SaveBitmap(const char* s, int32_t v1, int32_t v2, int32_t z1, int32_t z2, const char* b) {
    calls.push_back({"SaveBitmap", std::string(s) + "|" + b, v1, v2, z1 + z2});
    auto it = status.find("SaveBitmap");
    return it == status.end() ? 0 : it->second;
}
int32_t Ether232Send(const char* s, int16_t n) { return lAnswer("Ether232Send", std::string(s, n), n); }
int32_t Ether232Recv(char*) { return lAnswer("Ether232Recv"); }
}  // namespace

void vReset() {
    calls.clear();
    status.clear();
    pictBytes.clear();
    s_nextByte = 0;
    value1 = value2 = 0;
}

ZyrLib table() {
    ZyrLib l;
    l.Init = Init;
    l.SetCommInit = SetCommInit;
    l.SetSensMduInit = SetSensMduInit;
    l.ResetAll = ResetAll;
    l.SetParamforPictEx = SetParamforPictEx;
    l.SetWaitXExpose = SetWaitXExpose;
    l.CheckPictStatus = CheckPictStatus;
    l.GetImageDataEx = GetImageDataEx;
    l.SetDeviceFree = SetDeviceFree;
    l.ImageProcessingEx = ImageProcessingEx;
    l.SaveBitmap = SaveBitmap;
    l.Ether232Send = Ether232Send;
    l.Ether232Recv = Ether232Recv;
    return l;
}

std::vector<std::string> names() {
    std::vector<std::string> v;
    for (const auto& c : calls) v.push_back(c.name);
    return v;
}

}  // namespace fakelib
