// Resource texts and the operator's message boxes, all titled "Tolvek E".
#pragma once
#include <cstdint>
#include <string>

// The text of number lNo in the user-interface language; a number the table
// lacks gives "Error : LoadResString(<lNo>)", a text of blanks only "".
std::string sGetResText(int32_t lNo);

// hOwner: the owning window (MainOps/BusyWindow::hWnd()), or nullptr for none.
void vMsgInfo(void* hOwner, const std::string& sMsg);
int32_t lMsgYesNo(void* hOwner, const std::string& sMsg);  // 6 = Yes, 7 = No
// A warning with Retry and Cancel: true for Retry; closing the box is Cancel.
bool booMsgRetry(void* hOwner, const std::string& sMsg);
void vShowErrMsg(void* hOwner, int32_t lCode, const std::string& sMsg);
void vShowInitErr(void* hOwner, int32_t lCode);

// The explanation line of a library or transaction code.
std::string sCodeExplanation(int32_t lCode);

// The text with its "%1" replaced by the name (a file's).
std::string sWithName(const std::string& sText, const std::string& sName);
