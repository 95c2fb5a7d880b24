#include "sim/byte_trace.h"

#include <cstdio>

#include "sim/frame_codec.h"

namespace sim {
namespace {

// The characters a shell would act on inside double quotes, and the escape.
bool booShellActive(char ch) { return ch == '$' || ch == '`' || ch == '\\'; }
bool booPlain(unsigned char b) { return b >= 0x20 && b < 0x7F; }

}  // namespace

std::string sTraceLine(std::string_view direction, std::string_view bytes) {
    std::string hex, text;
    char cell[8];
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        std::snprintf(cell, sizeof cell, hex.empty() ? "%02x" : " %02x", b);
        hex += cell;
        switch (ch) {
            case kStx: text += "[STX]"; break;
            case kEtx: text += "[ETX]"; break;
            case kAck: text += "[ACK]"; break;
            case kNak: text += "[NAK]"; break;
            default:
                if (booPlain(b) && !booShellActive(ch)) {
                    text += ch;
                } else {
                    std::snprintf(cell, sizeof cell, "[%02x]", b);
                    text += cell;
                }
        }
    }
    std::string line(direction);
    line += ' ';
    line += hex;
    line += "  ";
    line += text;
    return line;
}

std::string sTraceText(std::string_view text) {
    std::string out;
    char cell[8];
    for (char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (booPlain(b) && !booShellActive(ch)) {
            out += ch;
        } else {
            std::snprintf(cell, sizeof cell, "\\x%02x", b);
            out += cell;
        }
    }
    return out;
}

}  // namespace sim
