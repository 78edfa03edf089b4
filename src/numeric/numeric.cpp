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

// What a character can start, looked up once per item.
enum class Start : unsigned char { other, space, number, type, escape, end };

struct StartTable {
    Start start[256];
    constexpr StartTable() : start() {
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
    }
};
constexpr StartTable start_table;

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
Cursor write_integer(Cursor p, Cursor limit, int width, unsigned char** o) {
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

} // namespace

NumericOutcome translate_numbers(const char* text, std::size_t len, ByteSink& out) {
    auto p = reinterpret_cast<Cursor>(text);
    // The zero byte and the padding after it: whole words may be read.
    const char* const limit = text + len + 1 + line_padding;
    unsigned char* o = out.reserve(max_numeric_bytes(len));
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
    NumericOutcome outcome{NumericStatus::done, nullptr};
    for (;;) {
        while (*p == ' ') { // the usual separator, skipped before the dispatch
            ++p;
        }
        unsigned char c = *p;
        Start start_kind = start_table.start[c];
        // Numbers come first: the test for them is the one branch most items take.
        if (start_kind == Start::number && !floating) {
            Cursor end = write_integer(p, reinterpret_cast<Cursor>(limit), width, &o);
            if (end == nullptr) {
                outcome = {NumericStatus::translation_error, reinterpret_cast<const char*>(p + 1)};
                break;
            }
            p = end;
            continue;
        }
        switch (start_kind) {
        case Start::space:
            ++p;
            continue;
        case Start::number:
            p = write_decimal(p, type, &o);
            continue;
        case Start::type:
            set_type(c);
            ++p;
            continue;
        case Start::escape:
            if (p[1] == '#' && p[2] != '\0') {
                set_type(p[2]); // the type escape: any byte becomes the value type
                p += 3;
            } else {
                p = write_byte_escape(p + 1, &o);
            }
            continue;
        case Start::other:
            outcome = {NumericStatus::invalid_input, reinterpret_cast<const char*>(p)};
            break;
        case Start::end:
            break;
        }
        break;
    }
    out.commit(o);
    return outcome;
}

} // namespace bytesmith
