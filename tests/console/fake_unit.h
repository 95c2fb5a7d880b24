// A scripted unit and sensor behind a ZyrLib table, for the console's tests:
// it records every frame the console sends, answers each with ACK (or not),
// queues the reports a test scripts for a command, and lets a test choose
// the result of every library call.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sensor/zyr_lib.h"

namespace fake {

struct Unit {
    // Results the library calls give.
    std::deque<int32_t> commInitResults;  // taken one per call; then 0
    uint32_t ulCommInitMs = 0;            // how long opening the link takes
    std::function<void()> onCommInit;     // runs at each opening attempt
    int32_t lResetAllResult = 0;
    int32_t lSensInitResult = 0;
    int32_t lCheckPictResult = 0;
    uint8_t bytPictStat = 0;  // what CheckPictStatus reports
    int32_t lSaveBitmapResult = 0;
    bool booAck = true;       // ACK every frame the console sends
    bool booLinkLost = false; // every receive fails

    // Reports the unit sends after ACKing a command (by command text).
    std::map<std::string, std::vector<std::string>> replies;

    // What happened.
    std::vector<std::string> sent;      // command texts of the frames received
    std::string sConsoleReplies;        // the console's lone ACK/NAK bytes
    std::map<std::string, int> calls;   // library calls by short name
    std::string sPending;               // bytes the next receive returns
    std::string sLastBitmap;            // name given to SaveBitmap
};

// The one unit of the test program, reset by vReset().
Unit& unit();
void vReset();
// The library table calling this unit.
ZyrLib lib();
// Queues a report frame (STX text blank checksum ETX) for the next receive.
void vQueueReport(const std::string& sText);
// Count of frames sent with this command text.
int iSentCount(const std::string& sText);

}  // namespace fake
