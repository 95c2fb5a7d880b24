// The object the benchmark sends, made from an 8-bit bitmap and put into the
// spool the way the console does it (temporary name, fsync, rename, folder
// fsync). It stands in for the console's own maker: swap the call in
// store_bench.cpp for it when both take a bitmap and a spool.
#pragma once
#include <string>

// Writes <spool>/<new UID>.dcm from the bitmap; false with the reason.
bool booSpoolObjectFromBitmap(const std::string& sBmp, const std::string& sSpool, std::string& sWhy);
