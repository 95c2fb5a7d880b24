// Colours in the platform's RGB encoding: red + 256 * green + 65536 * blue
// in one 32-bit integer (0x00BBGGRR). A value with the top bit set names a
// system colour (0x80000000 + its index), such as the button face.
#pragma once
#include <cstdint>

class QColor;

namespace ui {

constexpr int32_t RGB(int r, int g, int b) {
    return static_cast<int32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

constexpr int32_t vbBlack = 0;
constexpr int32_t vbWhite = RGB(255, 255, 255);
// System colours: the toolkit's palette decides how they look.
constexpr int32_t vbWindowBackground = static_cast<int32_t>(0x80000005u);
constexpr int32_t vbWindowText = static_cast<int32_t>(0x80000008u);
constexpr int32_t vbButtonFace = static_cast<int32_t>(0x8000000Fu);
constexpr int32_t vbButtonText = static_cast<int32_t>(0x80000012u);

constexpr bool booIsSystemColor(int32_t lColor) { return (static_cast<uint32_t>(lColor) & 0x80000000u) != 0; }

// A colour value as the toolkit's colour; system colours from the palette.
QColor qColorOf(int32_t lColor);
// The toolkit's colour as an RGB value (alpha dropped).
int32_t lColorOf(const QColor& color);

}  // namespace ui
