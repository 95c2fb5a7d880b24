// One association to the archive: each object in its own SOP class and
// transfer syntax, sent as it lies in the spool (its UIDs never change), and
// the archive's answer turned into what the spool does with the object.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "dicom/dicom_settings.h"
#include "dicom/store_commit.h"

namespace store {

enum class eVerdict {
    Stored,   // the archive has it: remove it from the spool
    Retry,    // nobody answered, the link broke, or the archive is short of resources
    Refused,  // the archive will never take it as it is: move it to failed/
};

struct tVerdict {
    tVerdict(eVerdict eIn, std::string sWhyIn = {}) : e(eIn), sWhy(std::move(sWhyIn)) {}
    eVerdict e;
    std::string sWhy;  // for the log and the reason file; empty when stored cleanly
    tIdentity id;      // the object's UIDs, when it could be read
};

// What a C-STORE answer status means for the object.
tVerdict tStatusVerdict(unsigned uStatus);

struct tArchive {
    tDicomPeer tPeer;        // called AE, host, port
    std::string sCallingAE;  // this station
    int iTimeoutSeconds = 20;
};

// At most this many objects go over one association (two presentation
// contexts would not fit otherwise).
constexpr size_t kMaxObjectsPerAssociation = 60;

// With storage commitment: the objects named in the request that closes the
// association, and whether the archive took the request.
struct tCommitAsk {
    std::vector<tIdentity> again;  // stored earlier, asked for once more
    std::vector<tIdentity> asked;  // out: again and everything stored now
    bool booAsked = false;         // out: the archive accepted the request
    std::string sWhy;              // out: why not
};

// Sends the files over one association. onEach is called once for every file,
// in order, as soon as its fate is known, so that a delivered object leaves
// the spool before the next one is sent. With pAsk, the association also
// carries the storage commitment request for what it stored (and pAsk->again),
// sent after the last object.
void vSendFiles(const tArchive& tTo, const std::vector<std::string>& paths,
                const std::function<void(size_t, const tVerdict&)>& onEach, tCommitAsk* pAsk = nullptr);

}  // namespace store
