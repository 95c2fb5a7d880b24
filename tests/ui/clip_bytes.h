// Clip files built byte by byte, so that each test says exactly which
// chunks, sizes and rows its clip holds.
#pragma once

#include <QColor>
#include <cstdint>
#include <vector>

namespace cliptest {

using Bytes = std::vector<uint8_t>;

inline void put(Bytes& b, uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A chunk with its pad byte when the data has an odd length.
inline Bytes chunk(const char* id, const Bytes& data) {
    Bytes out(id, id + 4);
    put(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1) out.push_back(0);
    return out;
}

inline Bytes list(const char* type, const std::vector<Bytes>& children, const char* form = "LIST") {
    Bytes body(type, type + 4);
    for (const Bytes& c : children) body.insert(body.end(), c.begin(), c.end());
    return chunk(form, body);
}

inline Bytes avih(uint32_t microSecPerFrame) {
    Bytes h;
    put(h, microSecPerFrame);
    h.resize(56, 0);
    return chunk("avih", h);
}

inline Bytes strh(const char* type, uint32_t scale = 1, uint32_t rate = 10) {
    Bytes h(type, type + 4);
    h.resize(20, 0);
    put(h, scale);
    put(h, rate);
    h.resize(56, 0);
    return chunk("strh", h);
}

// The picture header and its palette.
inline Bytes strf(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                  const std::vector<QRgb>& palette = {}) {
    Bytes f;
    for (uint32_t v : {40u, static_cast<uint32_t>(width), static_cast<uint32_t>(height)}) put(f, v);
    put(f, 1u | uint32_t{bits} << 16);  // one plane; bits per pixel
    put(f, compression);
    f.resize(32, 0);
    put(f, static_cast<uint32_t>(palette.size()));
    put(f, 0);
    for (QRgb c : palette) put(f, c & 0xFFFFFFu);  // blue, green, red, reserved
    return chunk("strf", f);
}

// Header list with one video stream (plus `more` stream lists), then the
// movie list holding `movie` as given.
inline Bytes clipFile(const Bytes& format, const std::vector<Bytes>& movie, uint32_t microSecPerFrame = 100000,
                      const std::vector<Bytes>& more = {}, const Bytes& streamHeader = strh("vids")) {
    std::vector<Bytes> headers = {avih(microSecPerFrame), list("strl", {streamHeader, format})};
    headers.insert(headers.end(), more.begin(), more.end());
    return list("AVI ", {list("hdrl", headers), list("movi", movie)}, "RIFF");
}

}  // namespace cliptest
