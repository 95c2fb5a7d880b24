// Asks the modality worklist (C-FIND, Modality Worklist Information Model -
// FIND) for the procedure steps scheduled today for this station: modality
// PX, ScheduledStationAETitle = the station's AE title, start date = today's
// local date. Every wait is bounded: the TCP connection, the association and
// each answer get iTimeoutSeconds.
#pragma once
#include <string>
#include <vector>

#include "dicom/dicom_settings.h"
#include "dicom/worklist_entry.h"

constexpr int kWorklistTimeoutSeconds = 5;

struct tWorklistQuery {
    tDicomPeer tPeer;               // Worklist=AE@host:port
    std::string sCallingAE;         // StationAE, also the scheduled station matched
    std::string sDate;              // YYYYMMDD
    int iTimeoutSeconds = kWorklistTimeoutSeconds;
};

enum class eWorklistFailure {
    None,
    Refused,     // nothing listens at host:port (or the host cannot be reached)
    TimedOut,    // the peer took longer than the time-out to connect or answer
    Rejected,    // the peer refused the association (AE titles)
    FindFailed,  // the peer answered the query with a failure status
    Other,       // anything else: the peer aborted, spoke nonsense, ...
};

struct tWorklistResult {
    eWorklistFailure eFailure = eWorklistFailure::None;
    std::string sDetail;                 // the toolkit's words, or the status in hexadecimal
    std::vector<tWorklistEntry> entries; // sorted by scheduled start time
};

tWorklistResult tQueryWorklist(const tWorklistQuery& q);

// Today's local date as YYYYMMDD.
std::string sTodayDicomDate();
