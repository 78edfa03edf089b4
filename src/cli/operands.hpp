// The operand loop both programs share: standard input, or each file named
// in turn, with the same messages and exit status.
#pragma once

#include <functional>
#include <span>

#include "cli/output.hpp"

namespace bytesmith {

enum class InputStatus {
    done,        // the input was read to its end
    read_error,  // reading failed; error holds its errno
    write_error, // the output failed; error holds its errno
    stop,        // the process must end now with status 1; already reported
};

struct InputResult {
    InputStatus status;
    int error;
};

// Hands standard input, when there are no operands, or each operand opened
// in turn, to process. A file that cannot be opened or read is reported and
// skipped, and makes the exit status 1; a write failure is reported and
// ends the loop at once. After the last input, finish (when given) runs and
// the output is drained. Returns the exit status.
int process_operands(std::span<char* const> operands, const char* program, Output& out,
                     const std::function<InputResult(int fd)>& process,
                     const std::function<void()>& finish = {});

} // namespace bytesmith
