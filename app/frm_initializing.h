// The small window that shows how long the console has been trying to reach
// the unit and its sensor. It cannot be closed by the operator; the console
// unloads it as soon as the connection succeeds or gives up.
#pragma once
#include <cstdint>

#include "ui/controls.h"
#include "ui/form.h"

class frmInitializing : public ui::Form {
public:
    explicit frmInitializing(QWidget* owner = nullptr);

    // Range of the bar in seconds; the value goes to its start.
    void InitProgBar(int16_t iMin, int16_t iMax);
    // Elapsed seconds, clamped into the range. A full bar stays on screen
    // for 300 ms before the caller goes on.
    void UpdateProgBar(int16_t iVal);

    void Form_Load() override;

    ui::Label& lblWait;
    ui::Label& lblDebug;
    ui::ProgressBar& prgRetryInit;
};

// A count of seconds or milliseconds as the bar's 16-bit values take it.
int16_t iToBarValue(int64_t lValue);
