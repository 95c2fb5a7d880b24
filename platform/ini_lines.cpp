#include "platform/ini_lines.h"

namespace platform::ini {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void classify(std::string_view text, Line& line) {
    const std::string_view whole = text.substr(line.begin, line.end - line.begin);
    const std::string_view body = trim(whole);
    if (body.empty()) {
        line.kind = LineKind::Blank;
        return;
    }
    if (body.front() == ';') {
        line.kind = LineKind::Comment;
        return;
    }
    if (body.front() == '[') {
        const size_t close = body.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = trim(body.substr(1, close - 1));
            return;
        }
    }
    const size_t eq = whole.find('=');
    if (eq == std::string_view::npos) {
        line.kind = LineKind::Other;
        return;
    }
    line.kind = LineKind::Key;
    line.name = trim(whole.substr(0, eq));
    line.value = trim(whole.substr(eq + 1));
}

}  // namespace

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        line.end = end;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
            line.next = end + 2;
        } else {
            line.next = end < text.size() ? end + 1 : end;
        }
        classify(text, line);
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

size_t findSection(const std::vector<Line>& lines, std::string_view section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::Section && sameName(lines[i].name, section)) return i;
    }
    return npos;
}

size_t sectionEnd(const std::vector<Line>& lines, size_t header) {
    size_t i = header + 1;
    while (i < lines.size() && lines[i].kind != LineKind::Section) ++i;
    return i;
}

size_t findKey(const std::vector<Line>& lines, size_t header, std::string_view key) {
    const size_t end = sectionEnd(lines, header);
    for (size_t i = header + 1; i < end; ++i) {
        if (lines[i].kind == LineKind::Key && sameName(lines[i].name, key)) return i;
    }
    return npos;
}

}  // namespace platform::ini
