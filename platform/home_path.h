// The running user's home folder, for file names that begin with "~/": two
// operators of one computer then never share a name by default.
#pragma once
#include <string>

namespace platform {

// $HOME when set and not empty, else the home folder of the password entry
// of the real user; empty when neither is known.
std::string sHomeFolder();

// "~/rest" becomes home + "/rest" (the name stays as it is when the home is
// unknown); any other name, also "~" alone or "~user/...", is returned as it is.
std::string sExpandHome(const std::string& sName);

}  // namespace platform
