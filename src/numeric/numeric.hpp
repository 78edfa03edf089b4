// Numeric lines: numbers written in binary under type letters, mixed with
// byte escapes.
#pragma once

#include <cstddef>

#include "common/byte_scan.hpp"
#include "common/byte_sink.hpp"

namespace bytesmith {

enum class NumericStatus {
    done,              // the whole line was translated
    translation_error, // a minus sign with no number after it: rest of the line abandoned
    invalid_input,     // a character that cannot start anything: translation must stop
};

struct NumericOutcome {
    NumericStatus status;
    // For a translation error, the rest of the line that is ignored; for
    // invalid input, the offending character. Null when done.
    const char* where;
};

// Most bytes a numeric line of len characters can write: every item consumes
// at least one character and writes at most eight bytes.
constexpr std::size_t max_numeric_bytes(std::size_t len) {
    return 8 * len;
}

// Translates one numeric line, given as the zero-terminated text after its
// marker of len characters followed by line_padding readable bytes (see
// byte_scan.hpp), and appends its bytes to out. Bytes written
// before an error stay in out.
NumericOutcome translate_numbers(const char* text, std::size_t len, ByteSink& out);

// Translates a numeric line in place in the input buffer, without cutting
// it out first: text is what follows its marker, data_end the end of the
// buffer's data, where a zero byte and line_padding readable bytes follow.
// Returns the character after the line's newline, with the line's bytes
// appended to out, or null when the line must be cut out and given to
// translate_line after all, with nothing appended: at a TAB or a zero byte
// before the newline, at an error, and before anything that could read past
// the newline. Nothing in the buffer is changed. A line done here gives the
// bytes that translate_line gives for it.
const char* translate_numbers_in_place(const char* text, const char* data_end, ByteSink& out);

} // namespace bytesmith
