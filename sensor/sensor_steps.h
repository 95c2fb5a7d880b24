// The sensor steps of one exposure, run on behalf of the main window:
// preparation, the capture watch and the image retrieval.
#pragma once
#include <cstdint>
#include <string>

#include "app/main_ops.h"

class QDateTime;

// Initialises the sensor module when the unit reports its sensor position.
int32_t l_SensMduInitProc(MainOps& frm);
// Prepares the sensor for the exposure (film data, image count, X-ray wait).
int32_t l_SenceProc1(MainOps& frm);
// Path of the film speed data file of g_sFilmName.
void vGetFilmFilePath(std::string& sPath);
// One step of the capture watch (booInit = true only arms it).
int32_t l_CheckPictProc(MainOps& frm, bool booInit);
// Reads, processes and saves the image into sFolder and SaveFileName.
int32_t l_GetImageProc(MainOps& frm, const std::string& sFolder);
// The bitmap's file name: SaveFileName without the blanks around it.
std::string sBitmapPath();

// The working folder of this run, without a trailing '/': temporary folder +
// "$" + window id + "$" + yyyyMMddhhnnss (24-hour clock) + "$".
std::string sWorkFolderPath(int64_t lWindowId, const QDateTime& tNow);
// Makes the working folder; sWorkPath is empty when that failed.
void vMakeWorkFolder(int64_t lWindowId, std::string& sWorkPath);
// Deletes every file of the working folder, then the folder (failures ignored).
void vRemoveWorkFolder(const std::string& sWorkPath);

// Forgets the capture watch's persistent values (a new main window).
void vResetCaptureWatch();

// True once a bitmap was written in this run (the program's exit status).
bool booImageSaved();
