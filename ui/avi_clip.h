// The video clips of the animation areas: silent AVI files whose first
// stream is uncompressed 8-bit (with palette) or 24-bit video, or 8-bit
// run-length coded video, as the clips of a legacy installation are.
//
// A clip file comes from outside the program, so nothing in it is trusted:
// every size and offset is checked before it is used, and a clip that does
// not hold together is refused as a whole when it is loaded. Once a clip has
// loaded, every frame of it is known to decode.
#pragma once

#include <QImage>
#include <QList>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class AviClip {
public:
    // Compressions of the picture header that the areas play.
    static constexpr uint32_t kBiRgb = 0;
    static constexpr uint32_t kBiRle8 = 1;
    // Limits that keep a lying header from asking for absurd memory.
    static constexpr int kMaxSide = 8192;
    static constexpr int64_t kMaxPixels = int64_t{1} << 24;
    static constexpr int64_t kMaxFileBytes = int64_t{256} << 20;
    // The shortest frame time the areas play, so a clip cannot keep the
    // console busy redrawing.
    static constexpr int kMinDelayMs = 10;

    // Reads the clip and decodes every frame once; on any fault the clip
    // stays empty and `why` (when given) says what was wrong.
    bool load(std::vector<uint8_t> bytes, std::string* why = nullptr);
    bool loadFile(const std::string& path, std::string* why = nullptr);
    void clear();

    bool isLoaded() const { return m_frames > 0; }
    int width() const { return m_width; }
    int height() const { return m_height; }  // rows, whichever way they run
    bool topDown() const { return m_topDown; }
    int bitCount() const { return m_bitCount; }
    uint32_t compression() const { return m_compression; }
    int frameCount() const { return m_frames; }
    uint32_t microSecPerFrame() const { return m_microSecPerFrame; }
    int frameDelayMs() const { return m_delayMs; }

    // Playing goes forward frame by frame onto one picture, because a
    // run-length frame may leave parts of the previous frame standing.
    void rewind();       // before the first frame: blank picture, first palette
    bool decodeNext();   // the next frame; after the last, the first again
    int currentFrame() const { return m_current; }  // -1 before the first
    const QImage& image() const { return m_canvas; }

    // Every frame in order from the start, as separate pictures.
    std::vector<QImage> decodeAll() const;

private:
    enum class Kind : uint8_t { Frame, Palette };
    struct Event {
        Kind kind;
        size_t offset;
        uint32_t size;
    };
    friend class AviParser;

    bool applyFrame(const Event& e);
    bool applyPalette(const Event& e);
    bool decodeRgb(const uint8_t* data, uint32_t size);
    bool decodeRle8(const uint8_t* data, uint32_t size);
    void putIndex(int64_t x, int64_t y, uint8_t index);
    int canvasRow(int64_t streamRow) const;

    std::vector<uint8_t> m_bytes;
    std::vector<Event> m_events;
    QList<QRgb> m_streamPalette;  // always 256 entries for 8-bit clips
    QList<QRgb> m_palette;
    QImage m_canvas;
    int m_width = 0;
    int m_height = 0;
    bool m_topDown = false;
    int m_bitCount = 0;
    uint32_t m_compression = 0;
    int m_frames = 0;
    uint32_t m_microSecPerFrame = 0;
    int m_delayMs = 0;
    size_t m_next = 0;
    int m_current = -1;
};
