// The unit link's frame: STX, the text, one blank, a two-digit checksum, ETX.
// Every frame the unit receives it answers with a lone ACK or NAK, and so do we.
#pragma once
#include <cstdint>
#include <string>

constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;

// Two lower-case hex digits of the byte sum (modulo 256) of characters
// lStart .. lStart+lCount-1 (1-based) of sText.
std::string sGetCheckSum(const std::string& sText, int32_t lStart, int32_t lCount);

// The whole frame of a command text, as it goes on the wire.
std::string sBuildFrame(const std::string& sCmd);

// Frames sCmd and hands it to the library; returns the library's result
// (0 = sent).
int32_t lSendFrame(const std::string& sCmd);
