// Unique identifiers for the study, series and image: "2.25." and a random
// 128-bit UUID (version 4) written as one decimal number, so that no
// registered root is needed and no toolkit's root is borrowed.
#pragma once
#include <string>

std::string sNewUid();
