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

// A list of names, each ending with a NUL and the whole with a second one.
// When it does not fit, as much as fits is kept, the buffer ends with two
// NULs and size-2 is returned.
uint32_t copyList(const std::vector<std::string_view>& names, char* buffer, uint32_t size) {
    std::string list;
    for (std::string_view name : names) list.append(name).push_back('\0');
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return static_cast<uint32_t>(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

std::vector<std::string_view> sectionNames(const std::vector<ini::Line>& lines) {
    std::vector<std::string_view> names;
    for (const ini::Line& line : lines) {
        if (line.kind == ini::LineKind::Section) names.push_back(line.name);
    }
    return names;
}

std::vector<std::string_view> keyNames(const std::vector<ini::Line>& lines, std::string_view section) {
    std::vector<std::string_view> names;
    const size_t header = ini::findSection(lines, section);
    if (header == ini::npos) return names;
    for (size_t i = header + 1; i < ini::sectionEnd(lines, header); ++i) {
        if (lines[i].kind == ini::LineKind::Key) names.push_back(lines[i].name);
    }
    return names;
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
    std::string text;
    if (path != nullptr) booReadWholeFile(path, text);  // a missing file reads as an empty one
    const std::vector<ini::Line> lines = ini::splitLines(text);

    if (section == nullptr) return copyList(sectionNames(lines), buffer, size);
    const std::string_view sec = ini::trim(section);
    if (key == nullptr) return copyList(keyNames(lines, sec), buffer, size);

    const size_t header = ini::findSection(lines, sec);
    if (header != ini::npos) {
        const size_t found = ini::findKey(lines, header, ini::trim(key));
        if (found != ini::npos) return copyText(ini::unquote(lines[found].value), buffer, size);
    }
    return copyText(defaultText(deflt), buffer, size);
}

int32_t WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* path) {
    if (section == nullptr || path == nullptr) return 0;
    const std::string_view sec = ini::trim(section);
    std::string text;
    if (!booReadWholeFile(path, text)) {
        text.clear();
        // Only a missing file may be created; one that exists but cannot be
        // read is left alone.
        if (access(path, F_OK) == 0) return 0;
    }
    if (key == nullptr) {
        // No key: the whole section goes.
        if (!ini::deleteSection(text, sec)) return 1;
    } else if (value == nullptr) {
        // No value: the key goes.
        if (!ini::deleteKey(text, sec, ini::trim(key))) return 1;
    } else {
        text = ini::setKey(text, sec, ini::trim(key), value);
    }
    return booReplaceFile(path, text) ? 1 : 0;
}

}  // namespace platform
