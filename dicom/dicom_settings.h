// The [DICOM] section of the settings file: the console, the sender and the
// worklist query all read it through here.
#pragma once
#include <string>

struct tDicomPeer {
    std::string sAE;    // the peer's AE title
    std::string sHost;
    int iPort = 0;
    bool booSet() const { return iPort > 0; }
};

struct tDicomSettings {
    bool booEnabled = false;
    std::string sStationAE = "ZYRPANWEQ";
    std::string sStationName;
    std::string sInstitution;
    double dPixelSpacing = 0.0;  // mm at the detector; required when enabled
    tDicomPeer tStore;           // Store=AE@host:port
    tDicomPeer tWorklist;        // Worklist=AE@host:port
    std::string sSpool;          // absolute folder of the spool
    bool booCommit = false;      // keep each object until the archive commits to it
};

// Parses "AE@host:port"; false (and sWhy) when malformed.
bool booParsePeer(const std::string& sText, tDicomPeer& tPeer, std::string& sWhy);

// Reads [DICOM] from the settings file at sIniPath; relative Spool folders are
// taken from sProgramFolder. False with a message naming the key when a value
// is bad (only checked when Enabled=1, except Enabled itself).
bool booReadDicomSettings(const std::string& sIniPath, const std::string& sProgramFolder,
                          tDicomSettings& t, std::string& sWhy);
