// Removing an unfinished output file when a signal ends the process, so
// that an interrupted run leaves no temporary file behind.
#pragma once

#include <csignal>

namespace bytesmith {

// While it lives, the signals that end a process and that a handler can
// catch are blocked, so that a file and the record of it change together.
class SignalsHeld {
  public:
    SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;
    ~SignalsHeld();

  private:
    sigset_t old_;
};

// From now on such a signal removes path, then ends the process as it
// would have without the handler. Signals that were ignored stay ignored.
// path must be shorter than PATH_MAX. Call it with SignalsHeld.
void remove_on_signal(const char* path);

// The file is gone or in its place: a signal removes nothing any more.
// Call it with SignalsHeld.
void remove_nothing_on_signal();

} // namespace bytesmith
