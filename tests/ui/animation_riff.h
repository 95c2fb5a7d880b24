// Building clip files byte by byte for the animation player's tests, so
// each test says exactly which chunks, sizes and rows a clip holds.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ui/avi_clip.h"

namespace animtest {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put32(Bytes& b, uint32_t v) {
    put16(b, static_cast<uint16_t>(v));
    put16(b, static_cast<uint16_t>(v >> 16));
}

inline void putId(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }

inline Bytes cat(const std::vector<Bytes>& parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A chunk with its pad byte when the data has an odd length.
inline Bytes chunk(const char* id, const Bytes& data) {
    Bytes out;
    putId(out, id);
    put32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1) out.push_back(0);
    return out;
}

inline Bytes list(const char* type, const std::vector<Bytes>& children, const char* form = "LIST") {
    const Bytes body = cat(children);
    Bytes out;
    putId(out, form);
    put32(out, static_cast<uint32_t>(body.size() + 4));
    putId(out, type);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline Bytes avih(uint32_t microSecPerFrame) {
    Bytes h;
    put32(h, microSecPerFrame);
    for (int i = 0; i < 13; ++i) put32(h, 0);
    return chunk("avih", h);
}

inline Bytes strh(const char* type, uint32_t scale = 1, uint32_t rate = 10) {
    Bytes h;
    putId(h, type);
    for (int i = 0; i < 4; ++i) put32(h, 0);
    put32(h, scale);
    put32(h, rate);
    for (int i = 0; i < 7; ++i) put32(h, 0);
    return chunk("strh", h);
}

// BITMAPINFOHEADER and its palette; colours < 0 writes the palette's size.
inline Bytes strf(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                  const std::vector<QRgb>& palette = {}, int64_t colours = -1) {
    Bytes f;
    put32(f, 40);
    put32(f, static_cast<uint32_t>(width));
    put32(f, static_cast<uint32_t>(height));
    put16(f, 1);
    put16(f, bits);
    put32(f, compression);
    for (int i = 0; i < 3; ++i) put32(f, 0);
    put32(f, static_cast<uint32_t>(colours < 0 ? static_cast<int64_t>(palette.size()) : colours));
    put32(f, 0);
    for (QRgb c : palette) {
        f.push_back(static_cast<uint8_t>(qBlue(c)));
        f.push_back(static_cast<uint8_t>(qGreen(c)));
        f.push_back(static_cast<uint8_t>(qRed(c)));
        f.push_back(0);
    }
    return chunk("strf", f);
}

// The whole file: header list with one video stream (plus `moreStreams`
// strl lists), then the movie list holding `movie` chunks as given.
inline Bytes clipFile(const Bytes& format, const std::vector<Bytes>& movie, uint32_t microSecPerFrame = 100000,
                      const std::vector<Bytes>& moreStreams = {}, const Bytes& streamHeader = strh("vids")) {
    std::vector<Bytes> header = {avih(microSecPerFrame), list("strl", {streamHeader, format})};
    header.insert(header.end(), moreStreams.begin(), moreStreams.end());
    return list("AVI ", {list("hdrl", header), list("movi", movie)}, "RIFF");
}

// Uncompressed rows in stream order, each padded to whole 32-bit words.
inline Bytes rgbFrame(int width, int height, int bits, const std::function<uint32_t(int x, int streamRow)>& pixel) {
    const int stride = (width * bits + 31) / 32 * 4;
    Bytes out;
    for (int r = 0; r < height; ++r) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const uint32_t v = pixel(x, r);
            if (bits == 8) {
                row.push_back(static_cast<uint8_t>(v));
            } else {
                row.push_back(static_cast<uint8_t>(qBlue(v)));
                row.push_back(static_cast<uint8_t>(qGreen(v)));
                row.push_back(static_cast<uint8_t>(qRed(v)));
            }
        }
        row.resize(static_cast<size_t>(stride), 0xEE);  // padding is never shown
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

inline AviClip loaded(const Bytes& bytes) {
    AviClip clip;
    std::string why;
    if (!clip.load(bytes, &why)) ADD_FAILURE() << "clip refused: " << why;
    return clip;
}

// The colour of a pixel, opaque whatever the picture's format.
inline QRgb rgbAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return qRgb(qRed(p), qGreen(p), qBlue(p));
}

inline bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace animtest
