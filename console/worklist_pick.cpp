#include "console/worklist_pick.h"

// No worklist query yet: without a patient ID from the imaging program
// nobody can be chosen.
WorklistPick eChoosePatientFromWorklist() { return WorklistPick::NotAsked; }
