// Decoding the frames of a clip onto its picture: uncompressed rows and
// 8-bit run-length coding, bottom-up or top-down, with palette changes.
#include <cstring>

#include "ui/avi_clip.h"

void AviClip::rewind() {
    m_next = 0;
    m_current = -1;
    if (m_canvas.isNull()) return;
    if (m_bitCount == 8) {
        m_palette = m_streamPalette;
        m_canvas.setColorTable(m_palette);
        m_canvas.fill(0u);
    } else {
        m_canvas.fill(qRgb(0, 0, 0));
    }
}

bool AviClip::decodeNext() {
    if (!isLoaded() || m_canvas.isNull()) return false;
    if (m_current == m_frames - 1) rewind();
    while (m_next < m_events.size()) {
        const Event& e = m_events[m_next++];
        if (e.kind == Kind::Palette) {
            if (!applyPalette(e)) return false;
            continue;
        }
        if (!applyFrame(e)) return false;
        ++m_current;
        return true;
    }
    return false;
}

bool AviClip::applyPalette(const Event& e) {
    // The palette change was checked to fit when the clip was read.
    const uint8_t* p = m_bytes.data() + e.offset;
    const int first = p[0];
    const int count = p[1] == 0 ? 256 : p[1];
    if (m_bitCount != 8) return true;
    for (int i = 0; i < count; ++i) {
        const uint8_t* q = p + 4 + 4 * i;  // red, green, blue, flags
        m_palette[first + i] = qRgb(q[0], q[1], q[2]);
    }
    m_canvas.setColorTable(m_palette);
    return true;
}

bool AviClip::applyFrame(const Event& e) {
    // An empty frame repeats the picture before it.
    if (e.size == 0) return true;
    const uint8_t* data = m_bytes.data() + e.offset;
    return m_compression == kBiRle8 ? decodeRle8(data, e.size) : decodeRgb(data, e.size);
}

int AviClip::canvasRow(int64_t streamRow) const {
    return static_cast<int>(m_topDown ? streamRow : m_height - 1 - streamRow);
}

bool AviClip::decodeRgb(const uint8_t* data, uint32_t size) {
    // Rows are padded to whole 32-bit words.
    const size_t stride = (static_cast<size_t>(m_width) * m_bitCount + 31) / 32 * 4;
    if (size < stride * static_cast<size_t>(m_height)) return false;
    for (int r = 0; r < m_height; ++r) {
        const uint8_t* src = data + stride * static_cast<size_t>(r);
        uchar* dst = m_canvas.scanLine(canvasRow(r));
        if (m_bitCount == 8) {
            std::memcpy(dst, src, static_cast<size_t>(m_width));
            continue;
        }
        QRgb* out = reinterpret_cast<QRgb*>(dst);
        for (int x = 0; x < m_width; ++x, src += 3) out[x] = qRgb(src[2], src[1], src[0]);
    }
    return true;
}

void AviClip::putIndex(int64_t x, int64_t y, uint8_t index) {
    // Runs that reach past the picture are cut off at its edge.
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    m_canvas.scanLine(canvasRow(y))[x] = index;
}

// Pairs of bytes: a count and an index paint a run; a zero count escapes to
// end of line (0), end of picture (1), a jump right and down (2, dx, dy), or
// a literal row of 3..255 indices padded to an even length. Pixels the
// frame does not paint keep the previous frame's indices.
bool AviClip::decodeRle8(const uint8_t* data, uint32_t size) {
    int64_t x = 0;
    int64_t y = 0;
    size_t p = 0;
    const size_t n = size;
    while (p < n) {
        if (n - p < 2) return false;
        const uint8_t count = data[p];
        const uint8_t value = data[p + 1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) putIndex(x + i, y, value);
            x += count;
            continue;
        }
        switch (value) {
        case 0:
            x = 0;
            ++y;
            break;
        case 1:
            return true;
        case 2:
            if (n - p < 2) return false;
            x += data[p];
            y += data[p + 1];
            p += 2;
            break;
        default:
            if (n - p < value) return false;
            for (int i = 0; i < value; ++i) putIndex(x + i, y, data[p + i]);
            x += value;
            p += value + (value & 1u);  // a missing pad byte at the very end is harmless
            break;
        }
    }
    // Some writers end the last frame without an end-of-picture mark.
    return true;
}
