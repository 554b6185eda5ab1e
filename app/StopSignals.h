#pragma once

// While one lives, SIGINT and SIGTERM do not end the program: they are remembered, and the
// batch asks received() between files to stop after the file in hand. The disposition goes
// back to the default at the first one, so a second signal ends the program at once.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The number of the first signal received while installed, 0 for none.
    static int received();
};
