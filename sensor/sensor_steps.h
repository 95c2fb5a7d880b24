// The sensor steps of one exposure, run on behalf of the main window:
// preparation, the capture watch and the image retrieval.
#pragma once
#include <cstdint>
#include <string>

#include "app/main_ops.h"

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

// The working folder of this run: temporary folder + "$" + window id + "$" +
// yyyyMMddhhnnss + "$" + "/". lWindowId identifies the main window.
std::string sWorkFolderPath(int64_t lWindowId);

// True once a bitmap was written in this run (the program's exit status).
bool booImageSaved();
