#pragma once
// SIGINT, SIGTERM and SIGPIPE stop a command-line run the way "Прервать" stops the window's, but
// at once, in the middle of a file: the handler only sets a flag, the line loop reads it before
// every line, gives the file up and deletes its unfinished target. The command then ends with
// 128 + the signal's number, as a shell reports a process the signal ended: 130 for SIGINT,
// 141 for SIGPIPE, 143 for SIGTERM.
//
// The handlers are installed without SA_RESTART, so that a read of a terminal or a pipe that
// waits for input returns when the signal arrives.

#include <atomic>
#include <string>

namespace common {

class StopSignals {
  public:
    // Installs the handlers; the destructor puts the earlier ones back. One instance at a time.
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Set once any of the signals arrived.
    const std::atomic<bool>& Flag() const;
    // The first signal that arrived; 0 while none did.
    int Signal() const;
    // 128 + Signal(), or 0 while no signal arrived.
    int ExitCode() const;
    // The system's name of the signal that arrived ("Interrupt"), empty while none did.
    std::string Description() const;
};

}  // namespace common
