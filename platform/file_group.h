// The group that owns a file, by name: a serial device is opened by the
// members of its group, so that name is the remedy when a user may not
// open it (udev rules give the unit's adapter a group of their own).
#pragma once
#include <string>

namespace platform {

// The group's name; its number when the system has no name for it; empty
// when the file cannot be looked at.
std::string sFileGroup(const std::string& sPath);

}  // namespace platform
