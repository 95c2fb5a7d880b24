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

}  // namespace platform::ini
