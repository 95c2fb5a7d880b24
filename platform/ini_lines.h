// The line structure of an initialisation file, as the profile-string reader
// and writer see it. Works on the file's bytes; nothing here touches the disk.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

namespace platform::ini {

enum class LineKind {
    Blank,    // empty or blanks and tabs only
    Comment,  // first non-blank character is ';'
    Section,  // '[' name ']'
    Key,      // name '=' value
    Other     // anything else: no key, never matched
};

struct Line {
    size_t begin = 0;  // offset of the line's first byte
    size_t end = 0;    // offset just past its text, before the line end
    size_t next = 0;   // offset just past the line end (CR LF, LF or a lone CR)
    LineKind kind = LineKind::Blank;
    std::string_view name;   // section or key name, blanks and tabs trimmed
    std::string_view value;  // key value, blanks and tabs trimmed, quotes kept
};

constexpr size_t npos = static_cast<size_t>(-1);

std::vector<Line> splitLines(std::string_view text);

// Drops blanks and tabs at both ends.
std::string_view trim(std::string_view s);
// Removes one pair of matching outer quotes (" or '), keeping what is inside.
std::string_view unquote(std::string_view value);
// Section and key names match without regard to letter case.
bool sameName(std::string_view a, std::string_view b);

// Index of the first section header of that name, or npos.
size_t findSection(const std::vector<Line>& lines, std::string_view section);
// Index of the first line after the section's body (the next header or the end).
size_t sectionEnd(const std::vector<Line>& lines, size_t header);
// Index of the first key of that name in the section, or npos.
size_t findKey(const std::vector<Line>& lines, size_t header, std::string_view key);

}  // namespace platform::ini
