#include "text/text.hpp"

#include <cstdint>
#include <cstring>

#include "common/byte_scan.hpp"
#include "common/char_class.hpp"

namespace bytesmith {
namespace {

// The byte a symbolic escape stands for, or -1 when e is not one.
int symbolic_escape(unsigned char e) {
    switch (e) {
    case 'a':
        return 0x07;
    case 'b':
        return 0x08;
    case 'f':
        return 0x0C;
    case 'n':
        return 0x0A;
    case 'r':
        return 0x0D;
    case 't':
        return 0x09;
    case 'v':
        return 0x0B;
    default:
        return -1;
    }
}

// Decodes the escape whose backslash is at p[-1]; p points at the character
// after it. Stores the byte in *byte and returns the first character not
// consumed.
[[gnu::always_inline]] inline const unsigned char* decode_escape(const unsigned char* p,
                                                                 unsigned char* byte) {
    unsigned char e = *p;
    int symbolic = symbolic_escape(e);
    if (symbolic >= 0) {
        *byte = static_cast<unsigned char>(symbolic);
        return p + 1;
    }
    if (is_octal_digit(e)) {
        unsigned value = e - '0';
        ++p;
        for (int i = 0; i < 2 && is_octal_digit(*p); ++i, ++p) {
            value = value * 8 + (*p - '0');
        }
        *byte = static_cast<unsigned char>(value);
        return p;
    }
    if (e == 'x') {
        std::uint64_t value = 0;
        p = read_hex_digits(p + 1, 0, &value);
        *byte = static_cast<unsigned char>(value);
        return p;
    }
    // Any other character stands for itself. A backslash at the end of the
    // text takes the terminator as its character and writes a zero byte;
    // the caller sees the terminator next and stops.
    *byte = e;
    return e == '\0' ? p : p + 1;
}

// Where decoding stopped: at the zero byte or newline that ends the text,
// or, for a whole line, at a numeric marker after a TAB.
struct Decoded {
    const unsigned char* at;
    unsigned char* out;
    bool numeric;
};

// Characters the decoder copies and tests in one step, two blocks; it is
// also the slack the decoder needs in the sink.
constexpr std::size_t step_bytes = 2 * block_bytes;
static_assert(line_padding >= step_bytes, "a step may read its whole width past the zero byte");

bool is_numeric_marker(const unsigned char* p) {
    return starts_numeric_field(reinterpret_cast<const char*>(p));
}

// Decodes the text at p into o until a zero byte or newline ends it. For a
// WholeLine, the field is what follows the last TAB, wherever it lies: each
// TAB, as a character of its own or taken by a caret or backslash, sends the
// output back to first and starts the field after it, and the newline ends
// the line as its zero byte would.
template <bool WholeLine>
Decoded decode(const unsigned char* p, unsigned char* o, unsigned char* const first) {
    for (;;) {
        // Copy the run of characters that stand for themselves, two blocks
        // at a time, up to the next special character: with 32 characters a
        // step, most lines' runs end in the first step, which the branch
        // predictor learns. Each step is stored whole before that character
        // is known; the bytes past it are overwritten or left beyond the
        // commit point, so the sink needs two blocks of slack.
        unsigned mask;
        for (;;) {
            Block low = load_block(p);
            Block high = load_block(p + block_bytes);
            std::memcpy(o, low.bytes, block_bytes);
            std::memcpy(o + block_bytes, high.bytes, block_bytes);
            mask = text_stop_mask(low) | (text_stop_mask(high) << block_bytes);
            if (mask != 0) {
                break;
            }
            p += step_bytes;
            o += step_bytes;
        }
        unsigned run = first_match(mask);
        p += run;
        o += run;
        unsigned char c = *p;
        if (c == '\0' || c == '\n') {
            return {p, o, false};
        }
        if (c != '^' && c != '\\' && (!WholeLine || c != '\t')) {
            ++p; // another control character, already copied
            ++o;
            continue;
        }
        ++p;
        if constexpr (WholeLine) {
            const unsigned char* tab = c == '\t' ? p - 1 : *p == '\t' ? p : nullptr;
            if (tab != nullptr) {
                p = tab + 1;
                o = first;
                if (is_numeric_marker(p)) {
                    return {p, o, true};
                }
                continue;
            }
            if (*p == '\n') {
                // An escape at the end of the line takes its terminator.
                *o++ = c == '^' ? static_cast<unsigned char>(0 - 64u) : 0;
                return {p, o, false};
            }
        }
        if (c == '^') {
            // A caret at the end takes the terminator: (0 - 64) mod 256.
            *o++ = static_cast<unsigned char>(*p - 64u);
            if (*p == '\0') {
                return {p, o, false};
            }
            ++p;
        } else {
            p = decode_escape(p, o++);
        }
    }
}

} // namespace

void translate_text(const char* text, std::size_t len, ByteSink& out) {
    unsigned char* o = out.reserve(len + step_bytes);
    out.commit(decode<false>(reinterpret_cast<const unsigned char*>(text), o, o).out);
}

TextLine translate_text_line(const char* line, const char* data_end, ByteSink& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(line);
    const auto* end = reinterpret_cast<const unsigned char*>(data_end);
    if (is_numeric_marker(p)) {
        return {TextLineStatus::numeric, line};
    }
    unsigned char* first = out.reserve(static_cast<std::size_t>(end - p) + step_bytes);
    Decoded d = decode<true>(p, first, first);
    if (d.numeric) {
        return {TextLineStatus::numeric, reinterpret_cast<const char*>(d.at)};
    }
    const unsigned char* newline = d.at;
    if (*newline == '\0') {
        // The content ended at a zero byte; the rest of the line is skipped.
        if (newline == end) {
            return {TextLineStatus::incomplete, nullptr};
        }
        newline = static_cast<const unsigned char*>(
            std::memchr(newline, '\n', static_cast<std::size_t>(end - newline)));
        if (newline == nullptr) {
            return {TextLineStatus::incomplete, nullptr};
        }
    }
    out.commit(d.out);
    return {TextLineStatus::done, reinterpret_cast<const char*>(newline + 1)};
}

} // namespace bytesmith
