// 8-bit run-length coding of clip frames, as the animation areas decode it.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace clips {

// The whole frame, every pixel painted (8-bit indexed picture, rows stored
// bottom-up as the stream wants them). Ends with the end-of-picture mark.
std::vector<uint8_t> encodeRle8(const QImage& frame);

// Only what changed since `previous` (same size and format): unchanged
// pixels are jumped over, so the decoder keeps them from the frame before.
std::vector<uint8_t> encodeRle8Delta(const QImage& previous, const QImage& frame);

}  // namespace clips
