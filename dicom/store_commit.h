// Storage commitment, asked on the association that stored the objects: an
// N-ACTION naming them under a transaction UID of our own. The archive's
// answer comes later, on an association it opens to the station
// (store_commit_listen.h).
#pragma once
#include <string>
#include <vector>

struct T_ASC_Association;

namespace store {

struct tIdentity {
    std::string sClass, sInstance;  // SOP class and SOP instance UID
};

// The SOP class and instance UIDs in a file's meta header; false when the
// file is no readable DICOM file.
bool booReadIdentity(const std::string& sPath, tIdentity& t, std::string& sWhy);

// A UID under 2.25 from 128 random bits.
std::string sNewUid();

// Sends the N-ACTION on the accepted storage commitment context and waits
// for its answer; false with the reason when the archive did not accept it.
bool booAskCommitment(T_ASC_Association* pAssoc, int iTimeoutSeconds, const std::vector<tIdentity>& objects,
                      std::string& sWhy);

}  // namespace store
