// With [DICOM] Enabled=1, after the bitmap is written and before the run
// ends with status 0: the image as a DICOM object into the spool, then a
// sender for the spool. The bitmap and the exit status stay whatever becomes
// of the object: the imaging program still imports the bitmap.
#pragma once
#include <string>

// Makes the object of this run's bitmap and puts it into the spool. False
// with the reason; sName is the object's file name in the spool.
bool booSpoolImage(std::string& sName, std::string& sWhy);

// booSpoolImage, telling the operator (a box over hOwner) and stderr when it
// fails; then starts a sender when [DICOM] Store names an archive.
void vSpoolImage(void* hOwner);
