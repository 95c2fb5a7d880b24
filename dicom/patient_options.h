// The patient keys the imaging program hands the console on its command
// line: --patient-id, --patient-name, --birth-date, --sex, --accession and
// --study-uid, each as "--option VALUE" or "--option=VALUE". Other
// arguments are not ours and are passed over.
#pragma once
#include <string>

#include "app/patient_keys.h"

// Fills the keys the arguments give. False at the first option whose value
// breaks its rules, is missing or comes twice; sWhy then names the option
// and the rule, e.g. "--birth-date: no such date" (the value itself is not
// repeated: it may hold anything, line ends included).
bool booParsePatientOptions(int argc, const char* const* argv, tPatientKeys& tKeys, std::string& sWhy);
