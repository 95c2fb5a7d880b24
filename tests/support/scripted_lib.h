// The one test double of the sensor and unit-link library: a scripted table
// of the 13 calls. A test sets what each call answers and how the unit on
// the line answers each command frame, then reads back every call and every
// byte the console sent.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/tick_clock.h"
#include "sensor/zyr_lib.h"

namespace scripted {

// How the unit answers a command frame.
enum class Reply {
    Ack,     // ACK at once, then the reports scripted for the command
    Nak,     // NAK at once
    Silent,  // nothing
    Fail,    // the library refuses the send with status lSendFail
};

struct Call {
    std::string name = {};  // "SetCommInit", "Ether232Send", ...
    std::string text = {};  // the path or text argument; SaveBitmap: "dat|bmp"
    int32_t a = 0, b = 0, c = 0;
};

struct Send {
    std::string bytes;  // exactly what the console handed to Ether232Send
    uint32_t tick;      // the clock at that moment
};

struct Unit {
    // --- What the library calls answer ---
    std::map<std::string, int32_t> status;              // by call name; 0 when absent
    std::map<std::string, std::deque<int32_t>> queued;  // taken one per call, ahead of status
    std::function<void(const Call&)> onCall;            // runs as each call arrives
    uint32_t ulCommInitMs = 0;                          // SetCommInit takes this long on the clock
    std::deque<uint8_t> pictBytes;                      // CheckPictStatus answers in turn ...
    uint8_t bytPictStat = 0;                            // ... then this one
    int32_t value1 = 4, value2 = 2;                     // ImageProcessingEx's two values

    // --- The unit on the line ---
    Reply reply = Reply::Ack;                           // answer to a command frame ...
    std::map<std::string, Reply> replies;               // ... or this one for its command text
    std::map<std::string, std::vector<std::string>> reports;  // report texts sent after the ACK
    int32_t lSendFail = 7;                              // status of a refused send
    std::deque<std::string> frameReplies;               // raw answers to the next command frames, ahead of all above
    std::deque<std::string> reads;                      // chunks successive reads return, ahead of the line
    std::optional<int32_t> recvFail;                    // every read returns this (a lost link)

    // --- What happened ---
    std::vector<Call> calls;        // every call but the reads
    std::vector<Send> sends;        // every Ether232Send, ACK/NAK bytes included
    std::vector<bool> sendsNulEnded;  // per send: the byte after its iLen bytes was a NUL
    std::string line;               // bytes the unit sent that the console has not read
    std::vector<bool> inRecvDuringRead;  // g_booInRecv as each read saw it
};

Unit& unit();
// One trace of what happened, in order: "lib SetCommInit", "> c1" (a command
// frame the console sent), "> ACK", "> NAK", "> raw 02 ..", and whatever a
// recording main window appends.
std::vector<std::string>& trace();

// A fresh unit and trace; installs the table and the clock.
void vReset(platform::FakeClock& clock);

// The whole frame of a text as the unit writes it (lower-case checksum).
std::string sFrame(const std::string& sText);
// Puts a report frame on the line for the console's next read.
void vQueueReport(const std::string& sText);

// Decoded texts of the command frames the console sent, in order.
std::vector<std::string> commands();
// How often the console sent this command text.
int iSent(const std::string& sCmd);
// Every send as printable text: "> c1", "> ACK", "> NAK".
std::vector<std::string> wire();
// The trace entries that start with one of the prefixes.
std::vector<std::string> traceOf(const std::vector<std::string>& prefixes);
// The same entries joined by "; ": "stat 8; ready 0; > d0".
std::string sTraceOf(const std::vector<std::string>& prefixes);
// Names of the calls, in order, and how often one was made.
std::vector<std::string> callNames();
int iCalls(const std::string& sName);
// The last call of that name (a default Call when there was none).
Call lastCall(const std::string& sName);
// Hex of a byte string: "02 63 31 20 62 34 03".
std::string sHex(const std::string& bytes);

}  // namespace scripted
