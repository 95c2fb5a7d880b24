// The container around the coded frames: RIFF 'AVI ', the main and stream
// headers, the picture header with its palette, the frames in "movi" and
// an "idx1" index marking the first frame as the key frame.
#include "tools/make_clips_avi.h"

#include <algorithm>
#include <fstream>

#include "tools/make_clips_rle8.h"

namespace clips {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAviifKeyFrame = 0x10;
constexpr uint32_t kBiRle8 = 1;

void put16(Bytes& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(Bytes& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v));
    put16(out, static_cast<uint16_t>(v >> 16));
}

void putId(Bytes& out, const char* id) { out.insert(out.end(), id, id + 4); }

void append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

Bytes chunk(const char* id, const Bytes& data) {
    Bytes out;
    putId(out, id);
    put32(out, static_cast<uint32_t>(data.size()));
    append(out, data);
    if (data.size() & 1) out.push_back(0);
    return out;
}

Bytes list(const char* form, const char* type, const Bytes& children) {
    Bytes out;
    putId(out, form);
    put32(out, static_cast<uint32_t>(children.size() + 4));
    putId(out, type);
    append(out, children);
    return out;
}

Bytes mainHeader(const tClip& clip, uint32_t largest) {
    const QImage& first = clip.frames.front();
    Bytes h;
    put32(h, clip.microSecPerFrame);
    put32(h, clip.microSecPerFrame == 0 ? 0 : static_cast<uint32_t>(uint64_t{largest} * 1000000 / clip.microSecPerFrame));
    put32(h, 0);  // padding granularity
    put32(h, kAvifHasIndex);
    put32(h, static_cast<uint32_t>(clip.frames.size()));
    put32(h, 0);  // initial frames
    put32(h, 1);  // streams
    put32(h, largest);
    put32(h, static_cast<uint32_t>(first.width()));
    put32(h, static_cast<uint32_t>(first.height()));
    for (int i = 0; i < 4; ++i) put32(h, 0);
    return chunk("avih", h);
}

Bytes streamHeader(const tClip& clip, uint32_t largest) {
    const QImage& first = clip.frames.front();
    Bytes h;
    putId(h, "vids");
    put32(h, 0);                      // handler: the picture header says how frames are coded
    put32(h, 0);                      // flags
    put16(h, 0);                      // priority
    put16(h, 0);                      // language
    put32(h, 0);                      // initial frames
    put32(h, clip.microSecPerFrame);  // scale / rate = seconds per frame
    put32(h, 1000000);
    put32(h, 0);  // start
    put32(h, static_cast<uint32_t>(clip.frames.size()));
    put32(h, largest);
    put32(h, 0xFFFFFFFFu);  // quality: default
    put32(h, 0);            // sample size: varies
    put16(h, 0);
    put16(h, 0);
    put16(h, static_cast<uint16_t>(first.width()));
    put16(h, static_cast<uint16_t>(first.height()));
    return chunk("strh", h);
}

Bytes pictureFormat(const tClip& clip) {
    const QImage& first = clip.frames.front();
    const QList<QRgb> palette = first.colorTable();
    Bytes f;
    put32(f, 40);
    put32(f, static_cast<uint32_t>(first.width()));
    put32(f, static_cast<uint32_t>(first.height()));  // positive: rows bottom-up
    put16(f, 1);
    put16(f, 8);
    put32(f, kBiRle8);
    put32(f, static_cast<uint32_t>(first.width() * first.height()));
    put32(f, 0);
    put32(f, 0);
    put32(f, static_cast<uint32_t>(palette.size()));
    put32(f, 0);
    for (QRgb c : palette) {
        f.push_back(static_cast<uint8_t>(qBlue(c)));
        f.push_back(static_cast<uint8_t>(qGreen(c)));
        f.push_back(static_cast<uint8_t>(qRed(c)));
        f.push_back(0);
    }
    return chunk("strf", f);
}

}  // namespace

Bytes writeAviRle8(const tClip& clip) {
    if (clip.frames.empty()) return {};
    std::vector<Bytes> coded;
    uint32_t largest = 0;
    for (size_t i = 0; i < clip.frames.size(); ++i) {
        coded.push_back(i == 0 ? encodeRle8(clip.frames[i]) : encodeRle8Delta(clip.frames[i - 1], clip.frames[i]));
        largest = std::max(largest, static_cast<uint32_t>(coded.back().size()));
    }

    Bytes movie;
    Bytes index;
    uint32_t offset = 4;  // from the "movi" type, as readers count it
    for (size_t i = 0; i < coded.size(); ++i) {
        const Bytes c = chunk("00dc", coded[i]);
        putId(index, "00dc");
        put32(index, i == 0 ? kAviifKeyFrame : 0);
        put32(index, offset);
        put32(index, static_cast<uint32_t>(coded[i].size()));
        offset += static_cast<uint32_t>(c.size());
        append(movie, c);
    }

    Bytes streamList = streamHeader(clip, largest);
    append(streamList, pictureFormat(clip));
    Bytes header = mainHeader(clip, largest);
    append(header, list("LIST", "strl", streamList));

    Bytes body = list("LIST", "hdrl", header);
    append(body, list("LIST", "movi", movie));
    append(body, chunk("idx1", index));
    return list("RIFF", "AVI ", body);
}

bool writeAviRle8File(const tClip& clip, const std::string& path) {
    const Bytes bytes = writeAviRle8(clip);
    if (bytes.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace clips
