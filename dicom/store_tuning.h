// The sender's own keys in [DICOM]: how often and how patiently it tries an
// archive that does not answer.
#pragma once
#include <string>

struct tStoreTuning {
    double dRetrySeconds = 1.0;      // first wait after a failed try; doubles up to dRetryMaxSeconds
    double dRetryMaxSeconds = 60.0;
    int iTries = 5;                  // tries per object in one --once run before it stays queued
    int iTimeoutSeconds = 20;        // connection, association and answer time-outs
    int iCommitPort = 0;             // where the archive's commitment reports come (Commit=1)
    double dCommitWaitSeconds = 60;  // how long a commitment request may stay unanswered
};

// Reads RetrySeconds, RetryMaxSeconds, Tries, TimeoutSeconds, CommitPort and
// CommitWaitSeconds; absent keys keep their defaults. False with a message naming the key when a value is bad.
// The console reads them too, at start, to tell a bad one before an image waits.
bool booReadStoreTuning(const std::string& sIniPath, tStoreTuning& t, std::string& sWhy);
