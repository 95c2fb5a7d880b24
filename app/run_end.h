// Why the run ends: the program that started the console reads its exit
// status, and a person reads the one line on stderr that says why a run
// gave no image (status 1) or did not start (status 2).
#pragma once
#include <string>

// Reasons the operator chose.
constexpr const char* kEndClosed = "closed by the operator";
constexpr const char* kEndNoToInterrupted = "No to the interrupted exposure";

// Records why the run ends, where the run decides to end. The first reason
// stands: what follows from it (closing the link, the window) is no reason.
void vRunEnds(const std::string& sWhy);
// The run ends on the failure the operator was just shown: its first line.
void vRunEndsOnFailure();
// Keeps the failure message the operator is shown (the message boxes do).
void vNoteFailureShown(const std::string& sMsg);

// The first line of a message ("\r\n" or "\n" ends it).
std::string sFirstLine(const std::string& sMsg);

// The line for stderr: "ZYR_PAN_WEQ: no image: <why>" for status 1,
// "ZYR_PAN_WEQ: not started: <why>" for status 2, empty for status 0.
std::string sExitLine(int iStatus);
