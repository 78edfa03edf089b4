// The messages about files that both programs write to standard error.
#pragma once

namespace bytesmith {

// "PROGRAM: failed to ACTION NAME: REASON", REASON the text of error.
void report_failure(const char* program, const char* action, const char* name, int error);

} // namespace bytesmith
