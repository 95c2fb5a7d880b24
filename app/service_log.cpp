#include "app/service_log.h"

#include <QLoggingCategory>

namespace {
// Debug lines are off until a rule switches them on. The macros below test
// the category before they format anything.
Q_LOGGING_CATEGORY(lcLink, "zyr.link", QtInfoMsg)
Q_LOGGING_CATEGORY(lcState, "zyr.state", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLib, "zyr.lib", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettings, "zyr.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcRecord, "zyr.record", QtInfoMsg)
}  // namespace

namespace service_log {

void vResend(const std::string& sCmd, int32_t lSendNo, uint32_t ulAfterMs) {
    qCDebug(lcLink, "resend %d of \"%s\" after %u ms", lSendNo, sCmd.c_str(), ulAfterMs);
}

void vNak(const std::string& sCmd) { qCDebug(lcLink, "NAK for \"%s\"", sCmd.c_str()); }

void vNoAck(const std::string& sCmd, const std::string& sFrame) {
    qCDebug(lcLink, "report \"%s\" instead of ACK for \"%s\"", sFrame.c_str(), sCmd.c_str());
}

void vGaveUp(const std::string& sCmd, int32_t lSends, int32_t lResult) {
    qCDebug(lcLink, "gave up \"%s\" after %d sends: %d", sCmd.c_str(), lSends, lResult);
}

void vSendFailed(const std::string& sCmd, int32_t lSendNo, int32_t lResult) {
    qCDebug(lcLink, "gave up \"%s\": send %d failed: %d", sCmd.c_str(), lSendNo, lResult);
}

void vState(int32_t lFrom, int32_t lTo) { qCDebug(lcState, "%d -> %d", lFrom, lTo); }

void vLibFailure(const char* sCall, int32_t lStatus) {
    qCDebug(lcLib, "%s failed: %d", sCall, lStatus);
}

void vSettingNotWritten(const std::string& sKey, const std::string& sValue) {
    qCDebug(lcSettings, "write of %s=%s failed", sKey.c_str(), sValue.c_str());
}

void vRecordNotWritten(const std::string& sPath) {
    qCDebug(lcRecord, "write of %s failed", sPath.c_str());
}

}  // namespace service_log
