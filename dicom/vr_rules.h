// The value rules of the DICOM attributes the patient keys fill: a value the
// archive would refuse, or file under a garbled name, is caught before the
// exposure. Each check returns an empty text when the value is good, or why
// it is not.
#pragma once
#include <string>

// Long string (LO, the patient ID): at most 64 characters, no backslash,
// no control characters.
std::string sCheckLO(const std::string& s);
// Short string (SH, the accession number): the same, at most 16 characters.
std::string sCheckSH(const std::string& s);
// Person name (PN): up to three groups (alphabetic, ideographic, phonetic)
// split by '=', each of at most five components split by '^' and at most
// 64 characters.
std::string sCheckPN(const std::string& s);
// Date (DA): YYYYMMDD, a day that exists.
std::string sCheckDA(const std::string& s);
// Patient sex (CS): M, F or O.
std::string sCheckSex(const std::string& s);
// Unique identifier (UI): digits and dots, at most 64 characters, every
// component non-empty and without a leading zero (a lone 0 is a component).
std::string sCheckUI(const std::string& s);

// Characters of UTF-8 text, or -1 when the bytes are not UTF-8.
int iUtf8Length(const std::string& s);
