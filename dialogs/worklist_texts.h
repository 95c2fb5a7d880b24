// Texts of the worklist: the string table's patterns filled in, the message
// for a worklist that cannot be asked, and the exit line's reason.
#pragma once
#include <string>

#include "dicom/worklist_query.h"

// The pattern with %1 and %2 replaced.
std::string sFillIn(std::string sPattern, const std::string& s1, const std::string& s2 = "");

// What the operator is told (in the interface language) when the query
// failed; sPeer is "AE@host:port".
std::string sWorklistFailureText(const tWorklistResult& r, const std::string& sPeer, const std::string& sStation,
                                 int iTimeoutSeconds);
// The same for the exit line on stderr, always in English.
std::string sWorklistFailureReason(const tWorklistResult& r, const std::string& sPeer);
