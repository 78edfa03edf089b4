#include "numeric/numeric.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#include "common/byte_scan.hpp"
#include "common/char_class.hpp"
#include "readers/eight_digits.hpp"
#include "readers/readers.hpp"

namespace bytesmith {
namespace {

using Cursor = const unsigned char*;

// Writes the low width bytes of value, least significant first, whatever
// the host's byte order. All eight bytes are stored and the ones past width
// overwritten by what follows: there is always room, since every item
// consumes at least one character and the sink has eight bytes for each.
unsigned char* put_le(unsigned char* o, std::uint64_t value, int width) {
    if constexpr (std::endian::native == std::endian::big) {
        value = __builtin_bswap64(value);
    }
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

// What a character can start, looked up once per item.
enum class Start : unsigned char { other, space, number, type, escape, end };

struct StartTable {
    Start start[256];
    constexpr StartTable() : start() {
        for (int i = 0; i < 256; ++i) {
            auto c = static_cast<unsigned char>(i);
            start[c] = is_space(c)   ? Start::space
                       : is_digit(c) ? Start::number
                                     : Start::other;
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

// A number under F or D: the decimal reader sees the minus sign itself and
// always consumes at least one character.
Cursor write_decimal(Cursor p, unsigned char type, unsigned char** o) {
    const char* end = nullptr;
    double value = strtod(reinterpret_cast<const char*>(p), &end);
    std::uint64_t bits;
    if (type == 'F') {
        float single = static_cast<float>(value); // round to nearest, ties to even
        std::uint32_t bits32;
        std::memcpy(&bits32, &single, sizeof bits32);
        *o = put_le(*o, bits32, 4);
    } else {
        std::memcpy(&bits, &value, sizeof bits);
        *o = put_le(*o, bits, 8);
    }
    return reinterpret_cast<Cursor>(end);
}

// Byte escapes after the backslash at p[-1]: "\x" and hexadecimal digits,
// or one to three octal digits. Anything else writes a zero byte and
// consumes only the backslash. Returns the first character not consumed.
Cursor write_byte_escape(Cursor p, unsigned char** o) {
    unsigned value = 0;
    if (*p == 'x') {
        for (int digit; (digit = hex_digit_value(*++p)) >= 0;) {
            value = value * 16 + static_cast<unsigned>(digit);
        }
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
    unsigned char type = 'I';
    NumericOutcome outcome{NumericStatus::done, nullptr};
    for (;;) {
        while (*p == ' ') { // the usual separator, skipped before the dispatch
            ++p;
        }
        unsigned char c = *p;
        switch (start_table.start[c]) {
        case Start::space:
            ++p;
            continue;
        case Start::number: {
            if (type == 'F' || type == 'D') {
                p = write_decimal(p, type, &o);
                continue;
            }
            Cursor start = c == '-' ? p + 1 : p;
            std::uint64_t value;
            Cursor end;
            if (*start >= '1' && *start <= '9') {
                // A plain decimal number, the common case: read in place.
                end = read_decimal(start, reinterpret_cast<Cursor>(limit), &value);
            } else {
                const char* stop = nullptr;
                value = read_integer(reinterpret_cast<const char*>(start), limit, &stop);
                end = reinterpret_cast<Cursor>(stop);
            }
            if (end == start) {
                outcome = {NumericStatus::translation_error, reinterpret_cast<const char*>(start)};
                break;
            }
            if (c == '-') {
                value = 0 - value;
            }
            o = put_le(o, value, integer_width(type));
            p = end;
            continue;
        }
        case Start::type:
            type = c;
            ++p;
            continue;
        case Start::escape:
            if (p[1] == '#' && p[2] != '\0') {
                type = p[2]; // the type escape: any byte becomes the value type
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
