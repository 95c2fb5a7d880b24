// The service log: what a service engineer reads to see why a run went the
// way it did. Every line is off unless switched on with the toolkit's
// logging rules (QT_LOGGING_RULES="zyr.*.debug=true"); a switched-off line
// costs one check. Plain functions, so that the link and the sensor code
// stay free of the toolkit.
#pragma once
#include <cstdint>
#include <string>

namespace service_log {

// zyr.link: the unit did not acknowledge a command at once.
void vResend(const std::string& sCmd, int32_t lSendNo, uint32_t ulAfterMs);
void vNak(const std::string& sCmd);
void vNoAck(const std::string& sCmd, const std::string& sFrame);  // a report came instead
void vGaveUp(const std::string& sCmd, int32_t lSends, int32_t lResult);
void vSendFailed(const std::string& sCmd, int32_t lSendNo, int32_t lResult);

// zyr.state: the console's state changed.
void vState(int32_t lFrom, int32_t lTo);

// zyr.lib: a library call returned a failure status.
void vLibFailure(const char* sCall, int32_t lStatus);

// zyr.settings: a key could not be written back to the settings file.
void vSettingNotWritten(const std::string& sKey, const std::string& sValue);

// zyr.record: the exposure record for the imaging program was not written.
void vRecordNotWritten(const std::string& sPath);

}  // namespace service_log
