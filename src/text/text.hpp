// Text lines: characters as they stand, with caret notation and backslash
// escapes decoded.
#pragma once

#include <cstddef>

#include "common/byte_scan.hpp"
#include "common/byte_sink.hpp"

namespace bytesmith {

// Decodes one text field and appends its bytes to out. The field is the
// len characters at text, text[len] must be a zero byte and line_padding
// readable bytes must follow it (see byte_scan.hpp); decoding also
// stops early at a zero byte or a newline. Every escape consumes at least
// as many characters as it produces bytes, so at most len bytes are added.
void translate_text(const char* text, std::size_t len, ByteSink& out);

// True when a text field, zero-terminated, starts with the marker that makes
// it a numeric line's field instead.
inline bool starts_numeric_field(const char* field) {
    return field[0] == '\\' && field[1] == '#';
}

enum class TextLineStatus {
    done,       // a text line, translated; next is the start of the next line
    numeric,    // its field is numeric: nothing was written
    incomplete, // no newline before the end of the data: nothing was written
};

struct TextLine {
    TextLineStatus status;
    // For a text line, the start of the next line. For a numeric one, its
    // marker: at the line's start or after the first TAB that one follows,
    // which is the field's unless a later TAB starts another. Null otherwise.
    const char* next;
};

// Translates the line at line straight from the input buffer when it is a
// text line, finding its newline, its last TAB and its field's bytes in one
// pass instead of three. The buffer's data ends at data_end, which must hold
// a zero byte followed by line_padding readable bytes; nothing in the buffer
// is changed. The bytes are those translate_line gives for the same line.
TextLine translate_text_line(const char* line, const char* data_end, ByteSink& out);

} // namespace bytesmith
