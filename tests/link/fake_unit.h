// A scripted unit behind an in-process library table: it records every byte
// the console sends, answers each command frame as the test scripted, and
// hands the console its reads one call at a time. Time-driven deliveries
// arrive when the fake clock passes their tick (the clock's onSleep).
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/tick_clock.h"
#include "sensor/zyr_lib.h"

namespace fakeunit {

// One trace of what happened, in order: "> c1" (a command frame the console
// sent, decoded), "> ACK", "> NAK", "> raw ..." (anything else it sent), and
// whatever the fake main window appends.
extern std::vector<std::string> trace;

struct tSend {
    std::string bytes;  // exactly what the console handed to Ether232Send
    uint32_t tick;      // the clock at that moment
};

struct tTimed {
    uint32_t tick;
    std::string bytes;
};

struct Unit {
    std::vector<tSend> sends;
    // Reply to the n-th command frame (not to ACK/NAK bytes): queued for the
    // console's next read. Missing entries mean silence.
    std::vector<std::string> frameReplies;
    // Result of the n-th Ether232Send call of any kind (missing = 0).
    std::vector<int32_t> sendResults;
    // Chunks that successive reads return; an empty deque reads 0 characters.
    std::deque<std::string> reads;
    // Bytes that become readable once the clock reaches their tick.
    std::vector<tTimed> timed;
    // When set, every read returns it (a lost link: negative).
    int32_t lRecvOverride = 0;
    bool booRecvOverride = false;
    // Library open/close.
    int32_t lCommInitResult = 0;
    std::string sInitPath;
    int32_t lInitFlag = 0;
    int32_t lInitCalls = 0, lCommInitCalls = 0, lResetAllCalls = 0, lDeviceFreeCalls = 0;
    // g_booInRecv as the library saw it during each read.
    std::vector<bool> inRecvDuringRead;
};

extern Unit unit;

// Fresh unit, fresh trace, library table installed, clock installed.
void vReset(platform::FakeClock& clock);
ZyrLib table();

// The whole frame of a text as the unit writes it (lower-case checksum).
std::string sFrame(const std::string& sText);
// Decoded texts of the command frames the console sent, in order.
std::vector<std::string> vecCommands();
// Every send as printable text: "> c1", "> ACK", "> NAK".
std::vector<std::string> vecWire();
// Only the trace entries starting with one of the prefixes.
std::vector<std::string> vecTrace(const std::vector<std::string>& prefixes);
// Hex of a byte string: "02 63 31 20 62 34 03".
std::string sHex(const std::string& bytes);

}  // namespace fakeunit
