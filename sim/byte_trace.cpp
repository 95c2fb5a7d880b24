#include "sim/byte_trace.h"

#include <cstdio>

#include "sim/frame_codec.h"

namespace sim {

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
                if (b >= 0x20 && b < 0x7F) {
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

}  // namespace sim
