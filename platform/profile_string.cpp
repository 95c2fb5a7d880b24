#include "platform/profile_string.h"

#include <unistd.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/ini_lines.h"
#include "platform/profile_edit.h"

namespace platform {
namespace {

// Copies at most size-1 characters and the NUL; returns the count copied.
uint32_t copyText(std::string_view text, char* buffer, uint32_t size) {
    const size_t n = text.size() < size - 1u ? text.size() : size - 1u;
    if (n > 0) std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

// The default as the caller gave it, without its trailing blanks.
std::string_view defaultText(const char* deflt) {
    std::string_view d = deflt != nullptr ? deflt : "";
    while (!d.empty() && d.back() == ' ') d.remove_suffix(1);
    return d;
}

}  // namespace

uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* deflt, char* buffer,
                                  uint32_t size, const char* path) {
    if (buffer == nullptr || size == 0) return 0;
    if (section == nullptr || key == nullptr) return copyText("", buffer, size);
    std::string text;
    if (path != nullptr) booReadWholeFile(path, text);  // a missing file reads as an empty one
    const std::vector<ini::Line> lines = ini::splitLines(text);

    const size_t header = ini::findSection(lines, ini::trim(section));
    if (header != ini::npos) {
        const size_t found = ini::findKey(lines, header, ini::trim(key));
        if (found != ini::npos) return copyText(ini::unquote(lines[found].value), buffer, size);
    }
    return copyText(defaultText(deflt), buffer, size);
}

int32_t WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* path) {
    if (section == nullptr || key == nullptr || value == nullptr || path == nullptr) return 0;
    std::string text;
    if (!booReadWholeFile(path, text)) {
        text.clear();
        // Only a missing file may be created; one that exists but cannot be
        // read is left alone.
        if (access(path, F_OK) == 0) return 0;
    }
    text = ini::setKey(text, ini::trim(section), ini::trim(key), value);
    return booReplaceFile(path, text) ? 1 : 0;
}

}  // namespace platform
