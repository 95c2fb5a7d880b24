// What the operator reads when the library may not open the unit's serial
// device (status -5): the device of [ZyrPan2] Link and the group that owns
// it, looked up now, since that group is the remedy (the package's udev
// rule gives the unit's adapter its own group).
#pragma once
#include <string>

// Text 10405 with the device and its group, or 10407, which names neither,
// when the settings name no serial device or it cannot be looked at.
std::string sNoSerialPermissionText();
