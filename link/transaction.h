// Command transactions with the unit: send, wait for the ACK, resend after
// a NAK or a silence, up to four sends in all; and opening and closing the
// library's communication.
#pragma once
#include <cstdint>
#include <string>

#include "app/main_ops.h"

// Transaction steps (lCommPoll's result).
constexpr int32_t COMM_IDLE = 0;
constexpr int32_t COMM_WAITING = 1;
constexpr int32_t COMM_ACKED = 2;
constexpr int32_t COMM_GIVEN_UP = 3;
constexpr int32_t COMM_RESEND_FAILED = 4;

constexpr uint32_t ACK_WAIT_MS = 3000;   // silence before a resend
constexpr int32_t MAX_SENDS = 4;         // the first send and three resends
constexpr uint32_t WAIT_PASS_MS = 10;    // pause between passes of the wait
constexpr int32_t FAILED_STATUS_OFFSET = 10000;

// One step of the transaction. A non-empty sCmd starts a new one (and sends
// it); an empty sCmd advances the one in progress. lSendResult receives 0 or
// the library's result of a failed send.
int32_t lCommPoll(const std::string& sCmd, int32_t& lSendResult);

// Runs one transaction on behalf of window. lResult: 0 = acknowledged,
// 10003 = no ACK after four sends, 10004 = a resend failed, any other value =
// the library's result of the failed first send (the polling timer then
// stays stopped and the busy pointer stays).
void lSendCommand(BusyWindow& window, const std::string& sCmd, int32_t& lResult, bool booWait);

// Opens the library's communication with the unit; 0 or the library's code.
int32_t lLinkOpen();
// Resets and releases the device; results are not examined.
void vLinkClose();
