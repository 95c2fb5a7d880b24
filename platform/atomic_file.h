// Whole-file reading and replacement for the settings file. A replacement is
// written to a temporary file in the same folder and renamed over the old
// one, so a power cut or a killed program leaves either the old file or the
// new one, never half of it. The new file keeps the old one's group and
// permission bits. Where that cannot be done, because the folder is closed
// to the writer or the writer cannot give the new file the old group, a
// writable file is rewritten in place instead (see booReplaceFile).
#pragma once
#include <string>
#include <string_view>

namespace platform {

// The file's bytes; false when it does not exist or cannot be read.
bool booReadWholeFile(const std::string& path, std::string& bytes);

// Replaces (or creates) the file with the bytes. Fails, leaving the file as it
// was, when the file is read-only (no owner write permission, also for root)
// or not writable by this user, is not a plain file, or does not exist and
// its folder is missing or not writable. An existing writable file in a
// folder this user may not write into is rewritten in place: one write of the
// new bytes padded with line ends to the old length, a cut to the new length,
// a flush. A program killed after the write leaves the new settings followed
// by blank lines; a power cut before the flush reaches the disk may leave a
// mix of new and old bytes. A path that is a symbolic link replaces the file
// the link points to.
bool booReplaceFile(const std::string& path, std::string_view bytes);

// Runs after the temporary file holds all the new bytes and before it is
// renamed over the old file; tests use it to stop or kill a writer there.
using ReplaceHook = void (*)(const char* tempPath);
void vSetReplaceHook(ReplaceHook hook);  // nullptr = none

}  // namespace platform
