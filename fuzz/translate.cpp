// The whole translation of one input, in-process: the input is cut into
// lines as the driver cuts it, and each line goes through translate_line
// into a sink until a line holds invalid input.
//
// Checked: no fault; the same input twice gives the same bytes and outcome;
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
        bytesmith::NumericOutcome outcome = bytesmith::translate_line(line, len, sink);
        if (sink.size() - before > bound) {
            std::abort(); // a line wrote more bytes than its characters allow
        }
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
