#include "cli/signal_removal.hpp"

#include <climits>
#include <cstring>
#include <unistd.h>

namespace bytesmith {
namespace {

// Every signal whose default action ends the process and that a handler
// can catch, except the faults (SIGSEGV and the like), which leave nothing
// safe to do.
constexpr int removal_signals[] = {SIGHUP,  SIGINT,  SIGQUIT,  SIGABRT,   SIGPIPE,
                                   SIGALRM, SIGTERM, SIGUSR1,  SIGUSR2,   SIGXCPU,
                                   SIGXFSZ, SIGPROF, SIGVTALRM};

// The handler sees only these; path holds a copy, since the handler may
// run at any moment, and armed says whether it names a file to remove.
char path_to_remove[PATH_MAX];
volatile std::sig_atomic_t armed = 0;
bool installed = false;

sigset_t removal_set() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : removal_signals) {
        sigaddset(&set, sig);
    }
    return set;
}

// Only async-signal-safe calls: unlink, signal and raise. The raised
// signal is blocked until the handler returns, and then ends the process
// with the default action, as if no handler had been there.
extern "C" void remove_and_reraise(int sig) {
    if (armed != 0) {
        unlink(path_to_remove);
    }
    signal(sig, SIG_DFL);
    raise(sig);
}

void install() {
    struct sigaction action {};
    action.sa_handler = remove_and_reraise;
    action.sa_mask = removal_set(); // one handler at a time
    for (int sig : removal_signals) {
        struct sigaction old {};
        if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler != SIG_IGN) {
            sigaction(sig, &action, nullptr);
        }
    }
    installed = true;
}

} // namespace

SignalsHeld::SignalsHeld() {
    sigset_t set = removal_set();
    sigprocmask(SIG_BLOCK, &set, &old_);
}

SignalsHeld::~SignalsHeld() {
    sigprocmask(SIG_SETMASK, &old_, nullptr);
}

void remove_on_signal(const char* path) {
    std::size_t len = std::strlen(path);
    if (len >= sizeof path_to_remove) {
        return;
    }
    std::memcpy(path_to_remove, path, len + 1);
    armed = 1;
    if (!installed) {
        install();
    }
}

void remove_nothing_on_signal() {
    armed = 0;
}

} // namespace bytesmith
