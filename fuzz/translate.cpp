// The whole translation of one input, in-process: the input is cut into
// lines as the driver cuts it, and each line goes through translate_line
// into a sink until a line holds invalid input.
//
// Checked: no fault; the same input twice gives the same bytes and outcome;
// the one-pass translation of a text line agrees with translate_line, and
// so does a numeric line translated in place whenever it is done there;
// a text line writes at most one byte for each character of its text field,
// a numeric line at most max_numeric_bytes of the characters after its
// marker.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/byte_scan.hpp"
#include "common/byte_sink.hpp"
#include "driver/line.hpp"
#include "numeric/numeric.hpp"
#include "text/text.hpp"

namespace {

struct Translation {
    std::vector<unsigned char> bytes;
    bytesmith::NumericStatus status = bytesmith::NumericStatus::done;
    std::ptrdiff_t where = -1; // offset of outcome.where in the input
    bool operator==(const Translation&) const = default;
};

// Most bytes the line may write: the text field is what follows the last
// TAB before the first zero byte.
std::size_t byte_bound(const char* line, std::size_t len) {
    const void* zero = std::memchr(line, '\0', len);
    std::size_t content =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - line) : len;
    std::size_t field = 0;
    for (std::size_t i = content; i > 0; --i) {
        if (line[i - 1] == '\t') {
            field = i;
            break;
        }
    }
    std::size_t field_len = content - field;
    if (field_len >= 2 && line[field] == '\\' && line[field + 1] == '#') {
        return bytesmith::max_numeric_bytes(field_len - 2);
    }
    return field_len;
}

// A text line translated in one pass gives the bytes of the line translator
// and ends after the newline; a line without one is incomplete; neither an
// incomplete nor a numeric line writes anything.
void check_one_pass(const bytesmith::TextLine& text, const bytesmith::ByteSink& one_pass,
                    bool complete, const char* next, const unsigned char* bytes,
                    std::size_t count) {
    switch (text.status) {
    case bytesmith::TextLineStatus::done:
        if (!complete || text.next != next || one_pass.size() != count ||
            (count != 0 && std::memcmp(one_pass.data(), bytes, count) != 0)) {
            std::abort();
        }
        return;
    case bytesmith::TextLineStatus::numeric:
        if (one_pass.size() != 0) {
            std::abort();
        }
        return;
    case bytesmith::TextLineStatus::incomplete:
        if (complete || one_pass.size() != 0) {
            std::abort();
        }
        return;
    }
}

// A numeric line done in place gives the bytes of the line translator, which
// reports no error for it, and ends after the newline; one handed back
// writes nothing.
void check_in_place(const char* next, const bytesmith::ByteSink& in_place,
                    const bytesmith::NumericOutcome& outcome, bool complete, const char* after,
                    const unsigned char* bytes, std::size_t count) {
    if (next == nullptr) {
        if (in_place.size() != 0) {
            std::abort();
        }
        return;
    }
    if (!complete || next != after || outcome.status != bytesmith::NumericStatus::done ||
        in_place.size() != count || (count != 0 && std::memcmp(in_place.data(), bytes, count) != 0)) {
        std::abort();
    }
}

Translation translate(const std::uint8_t* data, std::size_t size) {
    // One spare byte, like the driver's buffer, for a last line without a
    // newline to be terminated in place, and the padding lines carry.
    std::vector<char> buf(data, data + size);
    buf.resize(size + 1 + bytesmith::line_padding);
    char* const input = buf.data();
    bytesmith::ByteSink sink;
    Translation t;
    std::size_t begin = 0;
    while (begin < size) {
        char* line = input + begin;
        const void* nl = std::memchr(line, '\n', size - begin);
        std::size_t len =
            nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - line) : size - begin;
        std::size_t bound = byte_bound(line, len);
        std::size_t before = sink.size();
        // The one-pass translation of a text line, straight from the buffer,
        // before translate_line overwrites the newline.
        bytesmith::ByteSink one_pass;
        bytesmith::TextLine text = bytesmith::translate_text_line(line, input + size, one_pass);
        bytesmith::ByteSink in_place;
        const char* in_place_next = nullptr;
        if (text.status == bytesmith::TextLineStatus::numeric) {
            in_place_next = bytesmith::translate_numbers_in_place(text.next + 2, input + size, in_place);
        }
        bytesmith::NumericOutcome outcome = bytesmith::translate_line(line, len, sink);
        if (sink.size() - before > bound) {
            std::abort(); // a line wrote more bytes than its characters allow
        }
        check_one_pass(text, one_pass, nl != nullptr, line + len + 1, sink.data() + before,
                       sink.size() - before);
        check_in_place(in_place_next, in_place, outcome, nl != nullptr, line + len + 1,
                       sink.data() + before, sink.size() - before);
        if (outcome.status != bytesmith::NumericStatus::done) {
            if (outcome.where == nullptr || outcome.where < line || outcome.where > line + len) {
                std::abort(); // an error must point into its line
            }
            t.status = outcome.status;
            t.where = outcome.where - input;
            if (outcome.status == bytesmith::NumericStatus::invalid_input) {
                break;
            }
        }
        begin += len + 1;
    }
    t.bytes.assign(sink.data(), sink.data() + sink.size());
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (translate(data, size) != translate(data, size)) {
        std::abort(); // the same input gave different bytes or outcome
    }
    return 0;
}
