// The exposure record for the imaging program: with SaveInfo=1, a JSON file
// beside the bitmap, with the bitmap's base name (/x/img.bmp -> /x/img.json),
// that tells what was exposed, whether the exposure was complete, when it
// ran, and which program and library made the image.
#pragma once
#include <string>

// The record's file name for a bitmap's.
std::string sRecordPath(const std::string& sBitmap);

// Writes the record of this run's exposure after its bitmap was written,
// never through another user's link, over another user's file in a sticky
// folder, or over a file that is not a record (console/save_targets.h). A
// failure keeps the bitmap; the operator is told (a box owned by hOwner),
// it is logged, and the run ends with status 1.
void vWriteExposureRecord(void* hOwner);
