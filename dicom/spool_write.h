// Putting an object into the spool, the queue the sender delivers from. An
// object is there whole or not at all: it is written to a hidden temporary
// file in the spool (".<name>.part"), forced to disk, renamed to its name
// and the folder forced to disk, so neither a reader nor a power cut ever
// sees part of it under its name.
#pragma once
#include <string>

// Writes sBytes as sSpool/sName, making the spool folder (0770) when it is
// missing. False with the reason (the failed step and the system's words);
// no temporary file is left behind then.
bool booSpoolWrite(const std::string& sSpool, const std::string& sName, const std::string& sBytes,
                   std::string& sWhy);
