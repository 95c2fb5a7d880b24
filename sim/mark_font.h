// A 5 x 7 pixel font of capital letters and the hyphen, for the mark the
// library burns into its synthetic images (the library links no toolkit and
// reads no font files).
#pragma once
#include <cstdint>

namespace sim {

inline constexpr int32_t kGlyphWidth = 5;
inline constexpr int32_t kGlyphHeight = 7;

// Row 0..6 (top first) of the glyph: bit 4 is the leftmost pixel. Any
// character without a glyph (the space among them) is blank.
uint8_t bytGlyphRow(char ch, int32_t lRow);

}  // namespace sim
