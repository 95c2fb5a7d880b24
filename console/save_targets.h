// Where this run's bitmap and its exposure record go, and whether they may
// be written there. Their names come from the settings file, which every
// operator of the computer may change, so before any X-ray the console
// checks that the image can be saved, and the library's writer refuses the
// same names again (platform/write_target.h).
#pragma once
#include <string>
#include <string_view>

#include "platform/write_target.h"

// An existing file may be replaced by a record only when it is one: a JSON
// object with the record's fields.
bool booRecordHead(std::string_view head);
// How much of an existing record is read to tell (records are small).
constexpr size_t kRecordHeadBytes = 1 << 20;

// The box text for a name that must not be written: the lead line naming
// the file, then why.
std::string sTargetRefusal(bool booRecord, platform::TargetFault fault, const std::string& sPath);

// At start, before the unit is contacted: the bitmap's name, and with
// SaveInfo=1 the record's, may be written. Else the operator is told and
// the run is to end as not started.
bool booSaveTargetsReady();

// Right before the library writes the bitmap: its name still may be written
// (else the operator is told), and with SaveInfo=1 the previous exposure's
// record beside it is removed, so that it never stands beside the new
// bitmap. False when the bitmap must not be written.
bool booPrepareBitmapSave(void* hOwner);
