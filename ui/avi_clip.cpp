// Reading a clip: the RIFF structure, the headers of the first stream and
// the list of frames. Decoding the frames is in avi_clip_decode.cpp.
#include "ui/avi_clip.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

namespace {

constexpr uint32_t kDefaultDelayMs = 100;
constexpr uint32_t kMaxDelayMs = 600000;
// "rec " lists may group frames; a file nesting them deeper than this is
// not a clip anyone wrote, and recursion must stay bounded.
constexpr int kMaxListDepth = 8;

bool isId(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

QList<QRgb> greyRamp() {
    QList<QRgb> ramp(256);
    for (int i = 0; i < 256; ++i) ramp[i] = qRgb(i, i, i);
    return ramp;
}

}  // namespace

// Walks the chunk tree once and fills the clip; the clip checks the frames.
class AviParser {
public:
    AviParser(AviClip& clip, std::string& why) : m_clip(clip), m_why(why) {}

    bool parse() {
        const auto& b = m_clip.m_bytes;
        if (b.size() < 12 || !isId(b.data(), "RIFF") || !isId(b.data() + 8, "AVI "))
            return fail("not an AVI file");
        const uint32_t riffSize = le32(b.data() + 4);
        if (riffSize < 4 || riffSize > b.size() - 8) return fail("file shorter than its RIFF header says");
        if (!walk(12, size_t{8} + riffSize, [this](const uint8_t* id, size_t data, uint32_t size) {
                return topChunk(id, data, size);
            }))
            return false;
        return finish();
    }

private:
    struct Stream {
        bool hasStrh = false;
        uint8_t type[4] = {0, 0, 0, 0};
        uint32_t scale = 0;
        uint32_t rate = 0;
        bool hasStrf = false;
        size_t strf = 0;
        uint32_t strfSize = 0;
    };

    bool fail(const char* why) {
        m_why = why;
        return false;
    }

    const uint8_t* at(size_t offset) const { return m_clip.m_bytes.data() + offset; }

    // Calls onChunk(id, dataOffset, dataSize) for each chunk in [from, to).
    // A chunk may not run past its parent; the pad byte of the last one and
    // a few stray bytes at the end of a list are tolerated.
    template <class F>
    bool walk(size_t from, size_t to, F&& onChunk) {
        size_t off = from;
        while (to - off >= 8) {
            const uint32_t size = le32(at(off + 4));
            const size_t data = off + 8;
            if (size > to - data) return fail("chunk runs past the end of its list");
            if (!onChunk(at(off), data, size)) return false;
            const size_t padded = size_t{size} + (size & 1u);
            if (padded >= to - data) break;
            off = data + padded;
        }
        return true;
    }

    bool topChunk(const uint8_t* id, size_t data, uint32_t size) {
        if (!isId(id, "LIST")) return true;
        if (size < 4) return fail("list without a type");
        const size_t end = data + size;
        if (isId(at(data), "hdrl")) {
            return walk(data + 4, end, [this](const uint8_t* cid, size_t d, uint32_t s) {
                return headerChunk(cid, d, s);
            });
        }
        if (isId(at(data), "movi") && !m_movi) {
            m_movi = true;
            return movieList(data + 4, end, 0);
        }
        return true;
    }

    bool headerChunk(const uint8_t* id, size_t data, uint32_t size) {
        if (isId(id, "avih")) {
            if (size < 4) return fail("main header too short");
            m_avih = true;
            m_microSecPerFrame = le32(at(data));
            return true;
        }
        if (isId(id, "LIST")) {
            if (size < 4) return fail("list without a type");
            if (!isId(at(data), "strl")) return true;
            Stream stream;
            if (!walk(data + 4, data + size, [this, &stream](const uint8_t* cid, size_t d, uint32_t s) {
                    return streamChunk(stream, cid, d, s);
                }))
                return false;
            if (stream.hasStrh && isId(stream.type, "auds")) return fail("clip has a sound stream");
            if (m_streams++ == 0) m_first = stream;
        }
        return true;
    }

    bool streamChunk(Stream& stream, const uint8_t* id, size_t data, uint32_t size) {
        if (isId(id, "strh")) {
            if (size < 4) return fail("stream header too short");
            stream.hasStrh = true;
            std::memcpy(stream.type, at(data), 4);
            if (size >= 28) {
                stream.scale = le32(at(data + 20));
                stream.rate = le32(at(data + 24));
            }
        } else if (isId(id, "strf")) {
            stream.hasStrf = true;
            stream.strf = data;
            stream.strfSize = size;
        }
        return true;
    }

    // Frames of the first stream ("00db", "00dc"), its palette changes
    // ("00pc"), and the same inside "rec " groups; everything else is skipped.
    bool movieList(size_t from, size_t to, int depth) {
        return walk(from, to, [this, depth](const uint8_t* id, size_t data, uint32_t size) {
            if (isId(id, "LIST")) {
                if (size < 4) return fail("list without a type");
                if (!isId(at(data), "rec ")) return true;
                if (depth >= kMaxListDepth) return fail("groups nested too deep");
                return movieList(data + 4, data + size, depth + 1);
            }
            if (id[0] != '0' || id[1] != '0') return true;
            if (id[2] == 'd' && (id[3] == 'b' || id[3] == 'c')) {
                m_clip.m_events.push_back({AviClip::Kind::Frame, data, size});
                ++m_frames;
            } else if (id[2] == 'p' && id[3] == 'c') {
                if (!paletteChangeFits(data, size)) return fail("palette change does not fit");
                m_clip.m_events.push_back({AviClip::Kind::Palette, data, size});
            }
            return true;
        });
    }

    bool paletteChangeFits(size_t data, uint32_t size) const {
        if (size < 4) return false;
        const uint32_t first = *at(data);
        const uint32_t count = *at(data + 1) == 0 ? 256u : *at(data + 1);
        return first + count <= 256 && size_t{size} >= 4 + size_t{4} * count;
    }

    bool finish() {
        if (!m_avih) return fail("no main header");
        if (m_streams == 0 || !m_first.hasStrh) return fail("no stream");
        if (!isId(m_first.type, "vids")) return fail("first stream is not video");
        if (!m_first.hasStrf) return fail("no picture format");
        if (!pictureFormat()) return false;
        if (m_frames == 0) return fail("no frames");
        m_clip.m_frames = m_frames;
        m_clip.m_microSecPerFrame = m_microSecPerFrame;
        m_clip.m_delayMs = delayMs();
        return true;
    }

    bool pictureFormat() {
        const uint32_t size = m_first.strfSize;
        if (size < 40) return fail("picture format too short");
        const uint8_t* f = at(m_first.strf);
        const uint32_t headerSize = le32(f);
        if (headerSize < 40 || headerSize > size) return fail("picture header size is wrong");
        const int64_t width = static_cast<int32_t>(le32(f + 4));
        const int64_t height = static_cast<int32_t>(le32(f + 8));
        const int bits = le16(f + 14);
        const uint32_t compression = le32(f + 16);
        const uint32_t colours = le32(f + 32);
        const int64_t rows = height < 0 ? -height : height;
        if (width <= 0 || rows == 0) return fail("picture has no size");
        if (width > AviClip::kMaxSide || rows > AviClip::kMaxSide || width * rows > AviClip::kMaxPixels)
            return fail("picture too large");
        if (compression == AviClip::kBiRgb) {
            if (bits != 8 && bits != 24) return fail("unsupported bits per pixel");
        } else if (compression == AviClip::kBiRle8) {
            if (bits != 8) return fail("run-length clip is not 8-bit");
        } else {
            return fail("unsupported compression");
        }
        m_clip.m_width = static_cast<int>(width);
        m_clip.m_height = static_cast<int>(rows);
        m_clip.m_topDown = height < 0;
        m_clip.m_bitCount = bits;
        m_clip.m_compression = compression;
        if (bits != 8) return true;

        // The palette follows the header; with no entries at all the
        // frames are taken as shades of grey.
        const uint32_t room = (size - headerSize) / 4;
        if (colours > 256 || colours > room) return fail("palette larger than its chunk");
        const uint32_t count = colours != 0 ? colours : std::min<uint32_t>(256, room);
        QList<QRgb> palette = count == 0 ? greyRamp() : QList<QRgb>(256, qRgb(0, 0, 0));
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* q = f + headerSize + 4 * i;  // blue, green, red, reserved
            palette[i] = qRgb(q[2], q[1], q[0]);
        }
        m_clip.m_streamPalette = palette;
        return true;
    }

    int delayMs() const {
        uint64_t ms = (uint64_t{m_microSecPerFrame} + 500) / 1000;
        if (m_microSecPerFrame == 0 && m_first.rate != 0 && m_first.scale != 0)
            ms = (uint64_t{m_first.scale} * 1000 + m_first.rate / 2) / m_first.rate;
        if (m_microSecPerFrame == 0 && ms == 0) ms = kDefaultDelayMs;
        ms = std::clamp<uint64_t>(ms, AviClip::kMinDelayMs, kMaxDelayMs);
        return static_cast<int>(ms);
    }

    AviClip& m_clip;
    std::string& m_why;
    bool m_avih = false;
    uint32_t m_microSecPerFrame = 0;
    int m_streams = 0;
    Stream m_first;
    bool m_movi = false;
    int m_frames = 0;
};

bool AviClip::load(std::vector<uint8_t> bytes, std::string* why) {
    clear();
    std::string reason;
    m_bytes = std::move(bytes);
    AviParser parser(*this, reason);
    bool ok = parser.parse();
    if (ok) {
        const QImage::Format format = m_bitCount == 8 ? QImage::Format_Indexed8 : QImage::Format_RGB32;
        m_canvas = QImage(m_width, m_height, format);
        if (m_canvas.isNull()) {
            ok = false;
            reason = "no memory for the picture";
        }
    }
    // Decode every frame once now, so that a broken frame refuses the clip
    // here instead of stopping it half-way through playing.
    if (ok) {
        rewind();
        for (int i = 0; ok && i < m_frames; ++i) {
            ok = decodeNext();
            if (!ok) reason = "frame " + std::to_string(i) + " does not decode";
        }
    }
    if (!ok) {
        clear();
        if (why != nullptr) *why = reason;
        return false;
    }
    rewind();
    return true;
}

bool AviClip::loadFile(const std::string& path, std::string* why) {
    clear();
    auto refuse = [why](const char* reason) {
        if (why != nullptr) *why = reason;
        return false;
    };
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return refuse("no such clip file");
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return refuse("clip file unreadable");
    if (size > static_cast<uintmax_t>(kMaxFileBytes)) return refuse("clip file too large");
    std::ifstream in(path, std::ios::binary);
    if (!in) return refuse("clip file unreadable");
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<uintmax_t>(in.gcount()) != size) return refuse("clip file unreadable");
    return load(std::move(bytes), why);
}

void AviClip::clear() {
    *this = AviClip();
}

std::vector<QImage> AviClip::decodeAll() const {
    std::vector<QImage> frames;
    if (!isLoaded()) return frames;
    AviClip player = *this;
    player.rewind();
    for (int i = 0; i < m_frames && player.decodeNext(); ++i) frames.push_back(player.image().copy());
    return frames;
}
