// A scripted unit behind a ZyrLib table for the dialogs' tests: it records
// the command text of every frame the console sends and answers each one as
// the test chose for that command (ACK, NAK, silence, or a send the library
// refuses). The sensor calls succeed and do nothing.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sensor/zyr_lib.h"

namespace dlgfake {

enum class Reply {
    Ack,        // the unit acknowledges at once
    Nak,        // the unit refuses every send
    Silent,     // the unit says nothing
    SendFails,  // the library cannot send the frame at all
};

struct Unit {
    std::map<std::string, Reply> replies;  // by command text; Ack when absent
    int32_t lSendFailCode = 7;             // the library's result of a refused send
    std::function<void(const std::string&)> onSend;  // runs as each command frame arrives

    std::vector<std::string> sent;     // command texts of the frames, one per send
    std::map<std::string, int> calls;  // library calls by short name
    std::string sPending;              // bytes the next receive returns
};

// The one unit of the test program, reset by vReset().
Unit& unit();
void vReset();
// The library table calling this unit.
ZyrLib lib();

}  // namespace dlgfake
