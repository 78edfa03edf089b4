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

} // namespace bytesmith
