// The program's start-up sequence and what its end tells the program that
// launched it.
#pragma once
#include <cstdint>

// Exit statuses of the console.
constexpr int EXIT_IMAGE_SAVED = 0;  // a bitmap was written in this run
constexpr int EXIT_NO_IMAGE = 1;     // the run ended without an image
constexpr int EXIT_NOT_STARTED = 2;  // settings, second copy or library

// Main: settings, library, main window, then the window events until the
// main window closes. Needs a QApplication. Returns the exit status; for
// status 1 or 2 it has put the one line saying why on stderr.
int iMain();
