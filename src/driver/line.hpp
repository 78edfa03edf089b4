// One input line: its text field cut out and handed to the translator that
// its marker chooses.
#pragma once

#include <cstddef>

#include "common/byte_scan.hpp"
#include "common/byte_sink.hpp"
#include "numeric/numeric.hpp"

namespace bytesmith {

// Translates the len characters at line into out, without its newline.
// line[len] must be writable: it is overwritten with a zero byte; the
// line_padding bytes after it must be readable (see byte_scan.hpp). A zero
// byte inside the line ends its content. A text line is always done; a
// numeric line returns its translator's outcome.
NumericOutcome translate_line(char* line, std::size_t len, ByteSink& out);

} // namespace bytesmith
