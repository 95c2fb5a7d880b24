// One scheduled procedure step as a worklist answers it, its texts in UTF-8.
#pragma once
#include <string>

#include "app/patient_keys.h"

class DcmItem;

struct tWorklistEntry {
    tPatientKeys tKeys;       // the keys the image carries when the operator picks the entry
    std::string sStartDate;   // ScheduledProcedureStepStartDate, YYYYMMDD
    std::string sStartTime;   // ScheduledProcedureStepStartTime, HHMMSS[.F]
    std::string sStationAE;   // ScheduledStationAETitle
    std::string sModality;
};

// Reads one C-FIND answer: the request attributes at the top, the first item
// of ScheduledProcedureStepSequence, every text decoded from the answer's
// SpecificCharacterSet. Keys the answer lacks stay empty.
tWorklistEntry tEntryFromAnswer(DcmItem& answer);

// The name as the operator reads it: components separated by blanks; with
// an ideographic group, that group first and the alphabetic one after it
// in parentheses ("山田 太郎 (Yamada Tarou)").
std::string sDisplayName(const std::string& sPersonName);
// Every group of the name, blanks between components: what the filter searches.
std::string sSearchName(const std::string& sPersonName);
// "19800102" -> "1980-01-02"; other values as they are.
std::string sDisplayDate(const std::string& sDate);
// "093000" or "0930" -> "09:30"; other values as they are.
std::string sDisplayTime(const std::string& sTime);
