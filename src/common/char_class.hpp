// Character classes of the "C" locale, as the input format defines them.
// A byte of 0x80 or more belongs to no class. Plain inline functions keep the
// translators independent of the process locale and free of calls into
// libc.
#pragma once

#include <cstdint>

namespace bytesmith {

// Blank and the control characters TAB, LF, VT, FF and CR.
constexpr bool is_space(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

constexpr bool is_digit(unsigned char c) {
    return c >= '0' && c <= '9';
}

constexpr bool is_octal_digit(unsigned char c) {
    return c >= '0' && c <= '7';
}

// Values of the hexadecimal digits, -1 for every other byte: one lookup
// instead of three range tests, since escapes and numbers are full of them.
struct HexDigitTable {
    signed char value[256];
    constexpr HexDigitTable() : value() {
        for (int c = 0; c < 256; ++c) {
            value[c] = -1;
        }
        for (int d = 0; d < 10; ++d) {
            value['0' + d] = static_cast<signed char>(d);
        }
        for (int d = 0; d < 6; ++d) {
            value['a' + d] = static_cast<signed char>(10 + d);
            value['A' + d] = static_cast<signed char>(10 + d);
        }
    }
};
inline constexpr HexDigitTable hex_digit_table;

// Value of a hexadecimal digit, or -1 when c is not one.
inline int hex_digit_value(unsigned char c) {
    return hex_digit_table.value[c];
}

// Continues v with the hexadecimal digits at p, one at a time, modulo 2 to
// the 64th. Stores the value and returns the first character that is not a
// digit.
inline const unsigned char* read_hex_digits(const unsigned char* p, std::uint64_t v,
                                            std::uint64_t* value) {
    for (int digit; (digit = hex_digit_value(*p)) >= 0; ++p) {
        v = v * 16 + static_cast<unsigned>(digit);
    }
    *value = v;
    return p;
}

} // namespace bytesmith
