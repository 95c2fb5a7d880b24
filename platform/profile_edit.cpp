#include "platform/profile_edit.h"

#include <vector>

#include "platform/ini_lines.h"

namespace platform::ini {
namespace {

constexpr std::string_view kNewLine = "\r\n";

// Where text can be inserted after the line: past its line end, adding one
// when the line is the file's last and has none.
size_t insertPointAfter(std::string& text, const Line& line) {
    if (line.next == line.end) {
        text.insert(line.end, kNewLine);
        return line.end + kNewLine.size();
    }
    return line.next;
}

std::string keyLine(std::string_view key, std::string_view value) {
    std::string s;
    s.append(key).append("=").append(value).append(kNewLine);
    return s;
}

}  // namespace

std::string setKey(std::string_view text, std::string_view section, std::string_view key, std::string_view value) {
    std::string out(text);
    const std::vector<Line> lines = splitLines(text);
    const size_t header = findSection(lines, section);
    if (header == npos) {
        if (!out.empty() && out.back() != '\n' && out.back() != '\r') out.append(kNewLine);
        out.append("[").append(section).append("]").append(kNewLine);
        out.append(keyLine(key, value));
        return out;
    }
    const size_t found = findKey(lines, header, key);
    if (found != npos) {
        // The line keeps its indentation and the key as the file spells it;
        // "=" and the new value follow, and the line end stays.
        const Line& line = lines[found];
        const size_t nameEnd = static_cast<size_t>(line.name.data() - text.data()) + line.name.size();
        std::string replaced("=");
        replaced.append(value);
        out.replace(nameEnd, line.end - nameEnd, replaced);
        return out;
    }
    size_t last = header;
    for (size_t i = header + 1; i < sectionEnd(lines, header); ++i) {
        if (lines[i].kind == LineKind::Key || lines[i].kind == LineKind::Other) last = i;
    }
    const size_t at = insertPointAfter(out, lines[last]);
    out.insert(at, keyLine(key, value));
    return out;
}

}  // namespace platform::ini
