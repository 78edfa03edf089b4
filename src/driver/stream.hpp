// One input: read in large blocks, cut into lines, each line's text field
// handed to the translator its marker chooses.
#pragma once

#include "cli/output.hpp"

namespace bytesmith {

enum class StreamStatus {
    done,          // the whole input was translated
    read_error,    // reading failed; error holds its errno
    write_error,   // standard output failed; error holds its errno
    invalid_input, // a numeric line held invalid input; already reported
};

struct StreamResult {
    StreamStatus status;
    int error;
};

// Translates every line readable from fd into out. program names the
// messages about numeric lines written to standard error.
StreamResult translate_stream(int fd, Output& out, const char* program);

} // namespace bytesmith
