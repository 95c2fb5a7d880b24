// The writer's changes to the text of an initialisation file. Each keeps every
// byte it does not need to change; new lines end with CR LF.
#pragma once
#include <string>
#include <string_view>

namespace platform::ini {

// Sets key=value in the first section of that name: an existing key keeps its
// line, position and spelling and gets the new value; a new key goes after the
// section's last key (before any comment or blank lines that close the
// section); a new section goes at the end of the text.
std::string setKey(std::string_view text, std::string_view section, std::string_view key, std::string_view value);

// Removes the first line of the key in the first section of that name; false
// when there was none (the text is then unchanged).
bool deleteKey(std::string& text, std::string_view section, std::string_view key);

// Removes the first section of that name with all its lines; false when there
// was none.
bool deleteSection(std::string& text, std::string_view section);

}  // namespace platform::ini
