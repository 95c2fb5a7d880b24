#include "dicom/new_uid.h"

#include <sys/random.h>

#include <random>

std::string sNewUid() {
    unsigned char aby[16] = {};
    size_t n = 0;
    while (n < sizeof aby) {
        const ssize_t r = ::getrandom(aby + n, sizeof aby - n, 0);
        if (r <= 0) break;
        n += static_cast<size_t>(r);
    }
    if (n < sizeof aby) {
        std::random_device rd;
        for (unsigned char& b : aby) b = static_cast<unsigned char>(rd());
    }
    aby[6] = static_cast<unsigned char>((aby[6] & 0x0f) | 0x40);  // version 4
    aby[8] = static_cast<unsigned char>((aby[8] & 0x3f) | 0x80);  // the UUID variant
    unsigned __int128 v = 0;
    for (unsigned char b : aby) v = (v << 8) | b;
    std::string sDigits;
    do {
        sDigits.insert(sDigits.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v != 0);
    return "2.25." + sDigits;
}
