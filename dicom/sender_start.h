// After each exposure the console starts a sender for what waits in the
// spool, so that an image reaches an archive that is up without anyone
// typing a command. The sender takes a lock of its own: a second one ends
// at once when one already runs.
#pragma once
#include <string>

// The sender's file in a program folder.
std::string sSenderPath(const std::string& sProgramFolder);

// Starts "<program folder>/zyr-pan-weq-store --once" detached from the
// console (own session, no parent waiting for it, standard streams on
// /dev/null so the program that started the console does not wait for it),
// when that file is there and executable. False when it is not there or
// could not be started.
bool booStartSenderIfIdle(const std::string& sProgramFolder);
// The same for this program's folder.
void vStartSenderIfIdle();
