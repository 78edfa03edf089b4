#include "numeric/numeric.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#include "common/byte_order.hpp"
#include "common/byte_scan.hpp"
#include "common/char_class.hpp"
#include "readers/eight_digits.hpp"
#include "readers/hex_digits.hpp"
#include "readers/readers.hpp"

namespace bytesmith {
namespace {

using Cursor = const unsigned char*;

// Writes the low width bytes of value, least significant first, whatever
// the host's byte order. All eight bytes are stored and the ones past width
// overwritten by what follows: there is always room, since every item
// consumes at least one character and the sink has eight bytes for each.
unsigned char* put_le(unsigned char* o, std::uint64_t value, int width) {
    value = little_endian(value);
    std::memcpy(o, &value, sizeof value);
    return o + width;
}

// Width of an integer value type; any type byte but the four integer
// letters (and F and D, read elsewhere) writes nothing.
int integer_width(unsigned char type) {
    switch (type) {
    case 'C':
        return 1;
    case 'S':
        return 2;
    case 'I':
        return 4;
    case 'L':
        return 8;
    default:
        return 0;
    }
}

// True when p starts with "0x" or "0X". A second prefix right after the
// first is left to the general reader, which skips it.
bool is_hex_prefix(Cursor p) {
    return p[0] == '0' && (p[1] | 0x20) == 'x';
}

// How a line's items end. A line cut out of the input ends at its zero
// byte. A line translated in place in the input buffer ends at its newline;
// a TAB or a zero byte there would change where its field starts or its
// content ends, so it stops at them, and at anything that needs a message,
// and the line is cut out after all.
enum class LineEnd { zero_byte, newline };

// What a character can start, looked up once per item.
enum class Start : unsigned char { other, space, number, type, escape, end, cut };

struct StartTable {
    Start start[256];
    constexpr explicit StartTable(LineEnd line_end) : start() {
        for (int i = 0; i < 256; ++i) {
            auto c = static_cast<unsigned char>(i);
            start[c] = is_space(c) ? Start::space : is_digit(c) ? Start::number : Start::other;
        }
        start[static_cast<unsigned char>('-')] = Start::number;
        for (const char* t = "CDFILS"; *t != '\0'; ++t) {
            start[static_cast<unsigned char>(*t)] = Start::type;
        }
        start[static_cast<unsigned char>('\\')] = Start::escape;
        start[0] = Start::end;
        if (line_end == LineEnd::newline) {
            start[static_cast<unsigned char>('\n')] = Start::end;
            start[static_cast<unsigned char>('\t')] = Start::cut;
            start[0] = Start::cut;
        }
    }
};
template <LineEnd End> constexpr StartTable start_table{End};

// The decimal reader's NaN (nan_bits) converted to single precision on x86-64.
constexpr std::uint32_t single_nan_bits = 0xFFC00000u;

// A number under F or D: the decimal reader sees the minus sign itself and
// always consumes at least one character.
Cursor write_decimal(Cursor p, unsigned char type, unsigned char** o) {
    const char* end = nullptr;
    double value = strtod(reinterpret_cast<const char*>(p), &end);
    if (type == 'F') {
        // Round to nearest, ties to even. Processors convert a NaN each
        // their own way: the single is x86-64's, as the double is.
        std::uint32_t bits = value != value ? single_nan_bits
                                            : std::bit_cast<std::uint32_t>(static_cast<float>(value));
        *o = put_le(*o, bits, 4);
    } else {
        *o = put_le(*o, std::bit_cast<std::uint64_t>(value), 8);
    }
    return reinterpret_cast<Cursor>(end);
}

// A number under an integer type, or under a type that writes nothing,
// stored in width bytes. Returns the first character after it, or null when
// a minus sign has no number after it.
[[gnu::always_inline]] inline Cursor write_integer(Cursor p, Cursor limit, int width,
                                                  bool stop_at_space, unsigned char** o) {
    bool negative = *p == '-';
    Cursor start = p + negative;
    std::uint64_t value;
    Cursor end;
    if (static_cast<unsigned char>(*start - '1') < 9) {
        // A plain decimal number, the common case: read in place.
        end = read_decimal_padded(start, limit, &value);
    } else if (is_hex_prefix(start) && !is_hex_prefix(start + 2)) {
        end = read_hex_padded(start + 2, &value);
    } else {
        if (stop_at_space && is_space(*start)) {
            return nullptr;
        }
        const char* stop = nullptr;
        value = read_integer(reinterpret_cast<const char*>(start),
                             reinterpret_cast<const char*>(limit), &stop);
        end = reinterpret_cast<Cursor>(stop);
        if (end == start) {
            return nullptr;
        }
    }
    *o = put_le(*o, negative ? 0 - value : value, width);
    return end;
}

// Byte escapes after the backslash at p[-1]: "\x" and hexadecimal digits,
// or one to three octal digits. Anything else writes a zero byte and
// consumes only the backslash. Returns the first character not consumed.
Cursor write_byte_escape(Cursor p, unsigned char** o) {
    std::uint64_t value = 0;
    if (*p == 'x') {
        p = read_hex_digits(p + 1, 0, &value);
    } else if (is_octal_digit(*p)) {
        value = *p++ - '0';
        for (int i = 0; i < 2 && is_octal_digit(*p); ++i, ++p) {
            value = value * 8 + (*p - '0');
        }
    }
    *(*o)++ = static_cast<unsigned char>(value);
    return p;
}

// Where and why the item loop stopped.
enum class Stop { end, translation_error, invalid_input, cut };
struct Stopped {
    Stop stop;
    Cursor at; // the line's end, the minus sign or the offending character
};

// The items from p to the end of the line, where whole words may be read
// up to limit, written from o on.
template <LineEnd End> Stopped translate_items(Cursor p, Cursor limit, unsigned char*& o) {
    constexpr bool in_place = End == LineEnd::newline;
    // The value type, and what follows from it: kept apart because the type
    // changes far less often than they are used.
    unsigned char type = 'I';
    int width = integer_width(type);
    bool floating = false;
    auto set_type = [&](unsigned char t) {
        type = t;
        width = integer_width(t);
        floating = t == 'F' || t == 'D';
    };
    for (;;) {
        while (*p == ' ') { // the usual separator, skipped before the dispatch
            ++p;
        }
        unsigned char c = *p;
        Start start_kind = start_table<End>.start[c];
        // Numbers come first: the test for them is the one branch most items
        // take. In place, a minus sign before white space is left to the cut
        // line, since the general reader would skip the newline too.
        if (start_kind == Start::number && !floating) {
            Cursor end = write_integer(p, limit, width, in_place, &o);
            if (end == nullptr) {
                return {in_place ? Stop::cut : Stop::translation_error, p};
            }
            p = end;
            continue;
        }
        // The rest one by one, by how often they come, a type letter most
        // often: as a switch they became a table jump, predicted worse.
        if (start_kind == Start::type) {
            set_type(c);
            ++p;
            continue;
        }
        if (start_kind == Start::escape) {
            if (p[1] == '#' && p[2] != '\0') {
                // In place, a newline or TAB would become the type instead of
                // ending the line or the field, as in the cut line.
                if (in_place && (p[2] == '\n' || p[2] == '\t')) {
                    return {Stop::cut, p};
                }
                set_type(p[2]); // the type escape: any byte becomes the value type
                p += 3;
            } else {
                p = write_byte_escape(p + 1, &o);
            }
            continue;
        }
        if (start_kind == Start::space) {
            ++p;
            continue;
        }
        if (start_kind == Start::number) {
            p = write_decimal(p, type, &o);
            continue;
        }
        if (start_kind == Start::end) {
            return {Stop::end, p};
        }
        if (in_place) {
            return {Stop::cut, p};
        }
        return {Stop::invalid_input, p};
    }
}

} // namespace

NumericOutcome translate_numbers(const char* text, std::size_t len, ByteSink& out) {
    auto p = reinterpret_cast<Cursor>(text);
    // The zero byte and the padding after it: whole words may be read.
    auto limit = reinterpret_cast<Cursor>(text + len + 1 + line_padding);
    unsigned char* o = out.reserve(max_numeric_bytes(len));
    Stopped stopped = translate_items<LineEnd::zero_byte>(p, limit, o);
    out.commit(o);
    switch (stopped.stop) {
    case Stop::translation_error:
        return {NumericStatus::translation_error, reinterpret_cast<const char*>(stopped.at + 1)};
    case Stop::invalid_input:
        return {NumericStatus::invalid_input, reinterpret_cast<const char*>(stopped.at)};
    case Stop::end:
    case Stop::cut:
        break;
    }
    return {NumericStatus::done, nullptr};
}

const char* translate_numbers_in_place(const char* text, const char* data_end, ByteSink& out) {
    auto p = reinterpret_cast<Cursor>(text);
    auto limit = reinterpret_cast<Cursor>(data_end + 1 + line_padding);
    // The line ends before data_end, so this is room for all its bytes.
    unsigned char* o = out.reserve(max_numeric_bytes(static_cast<std::size_t>(data_end - text)));
    Stopped stopped = translate_items<LineEnd::newline>(p, limit, o);
    if (stopped.stop != Stop::end) {
        return nullptr; // nothing is committed
    }
    out.commit(o);
    return reinterpret_cast<const char*>(stopped.at + 1);
}

} // namespace bytesmith
