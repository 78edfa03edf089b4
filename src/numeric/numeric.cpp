#include "numeric/numeric.hpp"

#include <cstdint>
#include <cstring>

#include "common/char_class.hpp"
#include "readers/readers.hpp"

namespace bytesmith {
namespace {

using Cursor = const unsigned char*;

// Writes the low width bytes of value, least significant first, whatever
// the host's byte order.
unsigned char* put_le(unsigned char* o, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        o[i] = static_cast<unsigned char>(value >> (8 * i));
    }
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

bool is_type_letter(unsigned char c) {
    return c == 'C' || c == 'D' || c == 'F' || c == 'I' || c == 'L' || c == 'S';
}

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
        for (++p; hex_digit_value(*p) >= 0; ++p) {
            value = value * 16 + static_cast<unsigned>(hex_digit_value(*p));
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
    unsigned char* o = out.reserve(max_numeric_bytes(len));
    unsigned char type = 'I';
    NumericOutcome outcome{NumericStatus::done, nullptr};
    for (;;) {
        while (is_space(*p)) {
            ++p;
        }
        unsigned char c = *p;
        if (c == '\0') {
            break;
        }
        if (c == '-' || is_digit(c)) {
            if (type == 'F' || type == 'D') {
                p = write_decimal(p, type, &o);
                continue;
            }
            Cursor start = c == '-' ? p + 1 : p;
            const char* end = nullptr;
            std::uint64_t value = read_integer(reinterpret_cast<const char*>(start), &end);
            if (reinterpret_cast<Cursor>(end) == start) {
                outcome = {NumericStatus::translation_error, reinterpret_cast<const char*>(start)};
                break;
            }
            if (c == '-') {
                value = 0 - value;
            }
            o = put_le(o, value, integer_width(type));
            p = reinterpret_cast<Cursor>(end);
        } else if (is_type_letter(c)) {
            type = c;
            ++p;
        } else if (c == '\\') {
            if (p[1] == '#' && p[2] != '\0') {
                type = p[2]; // the type escape: any byte becomes the value type
                p += 3;
            } else {
                p = write_byte_escape(p + 1, &o);
            }
        } else {
            outcome = {NumericStatus::invalid_input, reinterpret_cast<const char*>(p)};
            break;
        }
    }
    out.commit(o);
    return outcome;
}

} // namespace bytesmith
