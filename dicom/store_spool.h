// The spool as the sender sees it: objects waiting at its top level, objects
// the archive refused for good in failed/ with their reasons beside them.
// The console writes an object under a name starting with '.' and renames it
// to <SOPInstanceUID>.dcm when it is complete, so only names ending in ".dcm"
// and not starting with '.' wait for delivery.
#pragma once
#include <string>
#include <vector>

namespace store {

bool booQueuedName(const std::string& sName);

// Names of the waiting objects, oldest first (then by name).
std::vector<std::string> queuedNames(const std::string& sSpool);

struct tFailed {
    std::string sName;
    std::string sReason;
};
std::vector<tFailed> failedObjects(const std::string& sSpool);

// Moves an object to failed/ with its reason in failed/<name>.reason (the
// reason is written first: an object in failed/ always has one).
bool booMoveToFailed(const std::string& sSpool, const std::string& sName, const std::string& sReason,
                     std::string& sWhy);

// Removes a delivered object.
bool booRemoveDelivered(const std::string& sSpool, const std::string& sName, std::string& sWhy);

// Stored objects that wait for the archive's commitment.
constexpr const char* kCommitting = "committing";
std::vector<std::string> committingNames(const std::string& sSpool);

// Renames an object from one folder of the spool to another ("" is the
// spool itself), making the target folder when needed, durably.
bool booMoveInSpool(const std::string& sSpool, const std::string& sFrom, const std::string& sTo,
                    const std::string& sName, std::string& sWhy);

// Why objects wait, as the last try found it (<spool>/.waiting, with the
// time), for --status; cleared by a try that leaves nothing waiting.
void vNoteWaiting(const std::string& sSpool, const std::string& sWhy);
void vClearWaiting(const std::string& sSpool);
std::string sWaitingNote(const std::string& sSpool);

// Empty when the sender can take objects out of the spool, else why not.
std::string sSpoolProblem(const std::string& sSpool);

}  // namespace store
