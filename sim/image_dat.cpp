#include "sim/image_dat.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <type_traits>

namespace sim {
namespace {

constexpr char kMagic[8] = {'Z', 'Y', 'R', 'P', 'D', 'A', 'T', '1'};

void put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// The header's fields in file order from offset 8.
template <class H, class F>
void eachField(H& h, F f)
{
    f(h.lWidth), f(h.lHeight), f(h.lStride), f(h.lBits), f(h.lViews), f(h.lProjection), f(h.lKv), f(h.lMa);
    f(h.lOpenLevel), f(h.lDensityLowMilli), f(h.lDensityRangeMilli), f(h.lGammaMilli), f(h.lSeed);
    f(h.lPixelsPerMetre), f(h.lPixelBytes), f(h.lBinning);
}

bool booWriteAll(int fd, const uint8_t* p, size_t n)
{
    while (n > 0) {
        const ssize_t k = write(fd, p, n);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) return false;
        p += k, n -= static_cast<size_t>(k);
    }
    return true;
}

}  // namespace

bool booWriteDat(const std::string& sPath, const DatHeader& tHeader,
                 const std::function<void(int32_t, uint8_t*)>& fillRow)
{
    const int fd = open(sPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    // Rows are made into a buffer that stays in the cache and written from
    // there: the image's bytes are touched once on their way to the file.
    const size_t stride = static_cast<size_t>(std::max(0, tHeader.lStride));
    const int32_t lRowsPerChunk = static_cast<int32_t>(std::max<size_t>(1, (256u << 10) / std::max<size_t>(1, stride)));
    uint8_t head[kDatHeaderSize] = {};
    std::memcpy(head, kMagic, sizeof kMagic);
    uint8_t* p = head + sizeof kMagic;
    eachField(tHeader, [&](auto v) {
        put32(p, static_cast<uint32_t>(v));
        p += 4;
    });
    // Kept between calls: a fresh buffer would be fresh pages to fault in.
    thread_local std::vector<uint8_t> buf;
    buf.assign(stride * static_cast<size_t>(lRowsPerChunk), 0);
    bool ok = booWriteAll(fd, head, sizeof head);
    for (int32_t lRow = 0; ok && lRow < tHeader.lHeight; lRow += lRowsPerChunk) {
        const int32_t n = std::min(lRowsPerChunk, tHeader.lHeight - lRow);
        for (int32_t k = 0; k < n; ++k) fillRow(tHeader.lHeight - 1 - (lRow + k), buf.data() + stride * static_cast<size_t>(k));
        ok = booWriteAll(fd, buf.data(), stride * static_cast<size_t>(n));
    }
    ok = close(fd) == 0 && ok;
    if (!ok) unlink(sPath.c_str());
    return ok;
}

bool booOpenDat(const std::string& sPath, DatHeader& tHeader, int& fd)
{
    fd = open(sPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    uint8_t head[kDatHeaderSize];
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              read(fd, head, sizeof head) == static_cast<ssize_t>(sizeof head) &&
              std::memcmp(head, kMagic, sizeof kMagic) == 0;
    if (ok) {
        DatHeader h;
        const uint8_t* p = head + sizeof kMagic;
        eachField(h, [&](auto& v) {
            v = static_cast<std::remove_reference_t<decltype(v)>>(get32(p));
            p += 4;
        });
        const int64_t llPixels = static_cast<int64_t>(h.lStride) * h.lHeight;
        ok = h.lWidth > 0 && h.lHeight > 0 && h.lWidth <= (1 << 20) && h.lHeight <= (1 << 20) && h.lBits == 8 && h.lStride == ((h.lWidth + 3) & ~3) &&
             h.lPixelBytes == llPixels && st.st_size == static_cast<off_t>(kDatHeaderSize + llPixels);
        if (ok) tHeader = h;
    }
    if (!ok) {
        close(fd);
        fd = -1;
    }
    return ok;
}

}  // namespace sim
