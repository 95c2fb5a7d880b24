// The settings file ZYR_PAN_WEQ.ini beside the program, section ZYR_PAN_WEQ.
#pragma once
#include <string>

// Full path of the settings file (program folder + ZYR_PAN_WEQ.ini).
std::string sSettingsPath();

// Reads every key into App; true when every required key was read.
bool booReadSetting();

// Writes one key. Returns true when the write FAILED, false on success.
bool booWriteSetting(const std::string& sKey, const std::string& sValue);
