// Initialisation-file access with the behaviour of the Win32 profile-string calls.
#pragma once
#include <cstdint>

namespace platform {

// Copies the value of key in section of the file at path into buffer (at most
// size-1 characters, NUL-terminated) or the default when the key is absent;
// returns the count of characters copied. Without a section or a key the
// buffer is left empty: the console never lists sections or keys.
uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* deflt,
                                  char* buffer, uint32_t size, const char* path);

// Writes key=value into section of the file at path; non-zero on success.
// Every argument is needed: keys and sections are never deleted.
// The file is replaced atomically: a failed or interrupted write leaves the old
// file; only a file in a folder closed to the writer is rewritten in place
// (platform/atomic_file.h).
int32_t WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                   const char* path);

}  // namespace platform
