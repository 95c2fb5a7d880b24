// The object the benchmark sends: made from an 8-bit bitmap by the console's
// own maker and put into the spool by the console's own atomic write.
#pragma once
#include <string>

// Writes <spool>/<new UID>.dcm from the bitmap; false with the reason.
bool booSpoolObjectFromBitmap(const std::string& sBmp, const std::string& sSpool, std::string& sWhy);
