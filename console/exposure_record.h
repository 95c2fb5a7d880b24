// The exposure record for the imaging program: with SaveInfo=1, a JSON file
// beside the bitmap, with the bitmap's base name (/x/img.bmp -> /x/img.json),
// that tells what was exposed, whether the exposure was complete, when it
// ran, and which program and library made the image.
#pragma once
#include <string>

// The record's file name for a bitmap's.
std::string sRecordPath(const std::string& sBitmap);

// Writes the record of this run's exposure after its bitmap was written.
// A failure keeps the image and the exit status: it is logged and told on
// stderr.
void vWriteExposureRecord();
