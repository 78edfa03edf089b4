#include "driver/line.hpp"

#include "common/byte_scan.hpp"
#include "text/text.hpp"

namespace bytesmith {
namespace {

// Where the line's content ends (its first zero byte) and where its text
// field starts (after the last TAB before that), found in one pass.
struct LineLayout {
    std::size_t content;
    std::size_t field;
};

LineLayout lay_out(const unsigned char* line) {
    std::size_t field = 0;
    for (std::size_t i = 0;; i += block_bytes) {
        Block b = load_block(line + i);
        unsigned zeros = match_mask<'\0'>(b);
        unsigned tabs = match_mask<'\t'>(b);
        if (zeros != 0) {
            unsigned zero = first_match(zeros);
            tabs &= (1u << zero) - 1; // TABs after the content do not count
            if (tabs != 0) {
                field = i + last_match(tabs) + 1;
            }
            return {i + zero, field};
        }
        if (tabs != 0) {
            field = i + last_match(tabs) + 1;
        }
    }
}

} // namespace

NumericOutcome translate_line(char* line, std::size_t len, ByteSink& out) {
    line[len] = '\0';
    // A zero byte ends the line's content; what follows it is never looked at.
    LineLayout layout = lay_out(reinterpret_cast<const unsigned char*>(line));
    const char* field = line + layout.field;
    std::size_t field_len = layout.content - layout.field;
    if (starts_numeric_field(field)) {
        return translate_numbers(field + 2, field_len - 2, out);
    }
    translate_text(field, field_len, out);
    return {NumericStatus::done, nullptr};
}

} // namespace bytesmith
