#include "sim/bmp_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/write_target.h"

namespace sim {
namespace {

void put16(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v), p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v)
{
    put16(p, v), put16(p + 2, v >> 16);
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

// Copies n bytes between the files in the kernel where it can, else through
// a buffer.
bool booCopy(int srcFd, int dstFd, size_t n)
{
    while (n > 0) {
        const ssize_t k = copy_file_range(srcFd, nullptr, dstFd, nullptr, n, 0);
        if (k > 0) {
            n -= static_cast<size_t>(k);
            continue;
        }
        if (k == 0) return false;  // the source ended early
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) return false;
        std::vector<uint8_t> buf(1 << 20);
        while (n > 0) {
            const ssize_t r = read(srcFd, buf.data(), std::min(buf.size(), n));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0 || !booWriteAll(dstFd, buf.data(), static_cast<size_t>(r))) return false;
            n -= static_cast<size_t>(r);
        }
    }
    return true;
}

}  // namespace

std::array<uint8_t, kBmpHeaderSize> bmpHeader(int32_t lWidth, int32_t lHeight, int32_t lPixelsPerMetre)
{
    std::array<uint8_t, kBmpHeaderSize> h{};
    const uint32_t lImage = static_cast<uint32_t>(lBmpStride(lWidth)) * static_cast<uint32_t>(lHeight);
    uint8_t* p = h.data();
    p[0] = 'B', p[1] = 'M';
    put32(p + 2, static_cast<uint32_t>(kBmpHeaderSize) + lImage);  // file size
    put32(p + 10, static_cast<uint32_t>(kBmpHeaderSize));          // offset of the pixels
    p += kBmpFileHeaderSize;
    put32(p, static_cast<uint32_t>(kBmpInfoHeaderSize));
    put32(p + 4, static_cast<uint32_t>(lWidth));
    put32(p + 8, static_cast<uint32_t>(lHeight));  // positive: bottom-up rows
    put16(p + 12, 1);                              // planes
    put16(p + 14, 8);                              // bits per pixel
    put32(p + 16, 0);                              // BI_RGB, no compression
    put32(p + 20, lImage);
    put32(p + 24, static_cast<uint32_t>(lPixelsPerMetre));
    put32(p + 28, static_cast<uint32_t>(lPixelsPerMetre));
    put32(p + 32, 256);  // colours used
    put32(p + 36, 256);  // colours important
    p += kBmpInfoHeaderSize;
    for (uint32_t i = 0; i < 256; ++i, p += 4) p[0] = p[1] = p[2] = static_cast<uint8_t>(i), p[3] = 0;
    return h;
}

bool booWriteBmp(const std::string& sPath, const std::array<uint8_t, kBmpHeaderSize>& header, int srcFd,
                 size_t llCount)
{
    // No fsync: the rename already keeps the old image or the whole new one
    // for any reader, and the operator should not wait on the disk.
    return platform::booWriteTarget(
        sPath, platform::booBitmapHead, 2,
        [&](int fd) { return booWriteAll(fd, header.data(), header.size()) && booCopy(srcFd, fd, llCount); }, false);
}

}  // namespace sim
