// The bitmap the sensor library wrote, read back as grey pixels: an
// uncompressed 8-bit Windows bitmap with its palette, whichever library
// wrote it (ours writes a grey palette; another may not).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct tGreyImage {
    int iWidth = 0;
    int iHeight = 0;
    std::vector<uint8_t> abyPixels;  // iWidth x iHeight, top row first
};

// Parses the bitmap file's bytes. False with the reason when they are not
// an uncompressed 8-bit bitmap of 1 to 65535 pixels a side, or are cut short.
bool booParseGreyBitmap(const std::string& sBytes, tGreyImage& t, std::string& sWhy);
