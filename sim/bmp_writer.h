// The image file the practice's software imports: an uncompressed 8-bit
// Windows bitmap with a 256-entry grey palette (BITMAPFILEHEADER,
// BITMAPINFOHEADER), rows bottom-up, each padded to a multiple of 4 bytes.
// It is written to a hidden temporary file in the target's folder and
// renamed over the target, so an interrupted save leaves the old file or the
// new one, never a broken image.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

inline constexpr size_t kBmpFileHeaderSize = 14;
inline constexpr size_t kBmpInfoHeaderSize = 40;
inline constexpr size_t kBmpPaletteSize = 256 * 4;
inline constexpr size_t kBmpHeaderSize = kBmpFileHeaderSize + kBmpInfoHeaderSize + kBmpPaletteSize;

// Bytes per row, padded to a multiple of 4.
inline int32_t lBmpStride(int32_t lWidth) { return (lWidth + 3) & ~3; }

// File header, info header and grey palette of an image of that size.
std::array<uint8_t, kBmpHeaderSize> bmpHeader(int32_t lWidth, int32_t lHeight, int32_t lPixelsPerMetre);

// Writes the header and then llCount pixel bytes read from srcFd (from its
// current offset) as the file sPath; a relative name is taken relative to the
// current folder. False, with the old file untouched and no temporary file
// left, when any step fails, and also when the name leads through another
// user's symbolic link, names another user's file in a sticky folder, or
// holds something that is not a bitmap (platform/write_target.h): the name
// comes from a settings file other operators may write.
bool booWriteBmp(const std::string& sPath, const std::array<uint8_t, kBmpHeaderSize>& header, int srcFd,
                 size_t llCount);

}  // namespace sim
