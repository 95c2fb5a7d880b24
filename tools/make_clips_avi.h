// Writes our animation clips: a silent AVI with one 8-bit run-length coded
// video stream and its palette, the first frame whole and every later
// frame as the changes from the one before.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

namespace clips {

struct tClip {
    uint32_t microSecPerFrame = 125000;
    std::vector<QImage> frames;  // Format_Indexed8, one size and one colour table
};

std::vector<uint8_t> writeAviRle8(const tClip& clip);
bool writeAviRle8File(const tClip& clip, const std::string& path);

}  // namespace clips
