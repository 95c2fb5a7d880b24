// ZYR_PAN_WEQ.DAT: the processed image as the library hands it from the
// processing step to the bitmap writer. An 80-byte header, then the 8-bit
// pixels in the bitmap's own order (rows bottom-up, each padded with zeros to
// a multiple of 4 bytes), so that writing the bitmap is a plain copy.
//
// Header, little-endian 32-bit fields at these offsets:
//   0  "ZYRPDAT1" (8 bytes)      40 open-field counts of the first image
//   8  width                     44 density window low, 1/1000
//  12  height                    48 density window range, 1/1000
//  16  row stride in bytes       52 gamma, 1/1000
//  20  bits per pixel (8)        56 seed of the radiograph
//  24  images in the picture     60 pixels per metre
//  28  projection (0 pano, 1 TMJ) 64 pixel bytes (stride x height)
//  32  kV of the first image     68 binning (1, 2 or 4)
//  36  mA of the first image     72 reserved, 8 bytes of 0
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sim {

inline constexpr size_t kDatHeaderSize = 80;

struct DatHeader {
    int32_t lWidth = 0, lHeight = 0, lStride = 0, lBits = 8;
    int32_t lViews = 0, lProjection = 0, lKv = 0, lMa = 0, lOpenLevel = 0;
    int32_t lDensityLowMilli = 0, lDensityRangeMilli = 0, lGammaMilli = 0;
    uint32_t lSeed = 0;
    int32_t lPixelsPerMetre = 0, lPixelBytes = 0, lBinning = 1;
};

// Writes the data file: the header, then the rows in file order (the image's
// bottom row first), each filled by fillRow(lImageRow, dst) with the row's
// lWidth pixels; padding is 0. The rows go out in chunks as they are made.
// A failed write removes what it wrote.
bool booWriteDat(const std::string& sPath, const DatHeader& tHeader,
                 const std::function<void(int32_t, uint8_t*)>& fillRow);

// Opens a data file and checks its header against its size. On success the
// file descriptor is left at the first pixel byte (the caller closes it).
bool booOpenDat(const std::string& sPath, DatHeader& tHeader, int& fd);

}  // namespace sim
