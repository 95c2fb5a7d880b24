// The encoder paints runs of three or more equal pixels as (count, index)
// pairs and everything between them as literal rows; shorter literals than
// three pixels cannot be written as a literal and go out as runs of one.
#include "tools/make_clips_rle8.h"

#include <algorithm>

namespace clips {
namespace {

class Rle8Writer {
public:
    Rle8Writer(const QImage& frame) : m_frame(frame) {}

    // Paints pixels [from, to) of the stream row y; the cursor must be at
    // (from, y) already.
    void paint(int y, int from, int to) {
        const uchar* row = streamRow(y);
        int x = from;
        while (x < to) {
            const int run = runLength(row, x, to);
            if (run >= 3) {
                put(static_cast<uint8_t>(run), row[x]);
                x += run;
                continue;
            }
            int end = x;
            while (end < to && end - x < 255 && runLength(row, end, to) < 3) ++end;
            literal(row, x, end);
            x = end;
        }
        m_x = to;
    }

    // Moves the cursor to (x, y), which is never left of or below it.
    void moveTo(int x, int y) {
        if (y > m_y) {
            endOfLine();
            while (m_y < y) {
                const int dy = std::min(255, y - m_y);
                jump(0, dy);
            }
        }
        while (m_x < x) jump(std::min(255, x - m_x), 0);
    }

    void endOfLine() {
        put(0, 0);
        m_x = 0;
        ++m_y;
    }

    std::vector<uint8_t> finish() {
        put(0, 1);
        return std::move(m_out);
    }

    const uchar* streamRow(int y) const { return m_frame.constScanLine(m_frame.height() - 1 - y); }

private:
    static int runLength(const uchar* row, int x, int to) {
        int n = 1;
        while (x + n < to && n < 255 && row[x + n] == row[x]) ++n;
        return n;
    }

    void literal(const uchar* row, int from, int to) {
        const int n = to - from;
        if (n < 3) {
            for (int x = from; x < to; ++x) put(1, row[x]);
            return;
        }
        put(0, static_cast<uint8_t>(n));
        m_out.insert(m_out.end(), row + from, row + to);
        if (n & 1) m_out.push_back(0);
    }

    void jump(int dx, int dy) {
        put(0, 2);
        put(static_cast<uint8_t>(dx), static_cast<uint8_t>(dy));
        m_x += dx;
        m_y += dy;
    }

    void put(uint8_t a, uint8_t b) {
        m_out.push_back(a);
        m_out.push_back(b);
    }

    const QImage& m_frame;
    std::vector<uint8_t> m_out;
    int m_x = 0;
    int m_y = 0;
};

}  // namespace

std::vector<uint8_t> encodeRle8(const QImage& frame) {
    Rle8Writer writer(frame);
    for (int y = 0; y < frame.height(); ++y) {
        if (y > 0) writer.endOfLine();
        writer.paint(y, 0, frame.width());
    }
    return writer.finish();
}

std::vector<uint8_t> encodeRle8Delta(const QImage& previous, const QImage& frame) {
    // A jump costs four bytes, so unchanged gaps shorter than that are
    // cheaper painted over than jumped.
    constexpr int kShortestJump = 4;
    Rle8Writer writer(frame);
    Rle8Writer before(previous);
    const int width = frame.width();
    for (int y = 0; y < frame.height(); ++y) {
        const uchar* now = writer.streamRow(y);
        const uchar* was = before.streamRow(y);
        int x = 0;
        while (x < width) {
            while (x < width && now[x] == was[x]) ++x;
            if (x == width) break;
            int end = x;
            int same = 0;
            while (end + same < width && same < kShortestJump) {
                if (now[end + same] == was[end + same]) {
                    ++same;
                } else {
                    end += same + 1;
                    same = 0;
                }
            }
            writer.moveTo(x, y);
            writer.paint(y, x, end);
            x = end;
        }
    }
    return writer.finish();
}

}  // namespace clips
