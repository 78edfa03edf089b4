// Character classes of the "C" locale, as the input format defines them.
// A byte of 0x80 or more belongs to no class. Plain inline functions keep the
// translators independent of the process locale and free of table lookups
// through libc.
#pragma once

namespace bytesmith {

// Blank and the control characters TAB, LF, VT, FF and CR.
inline bool is_space(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool is_digit(unsigned char c) {
    return c >= '0' && c <= '9';
}

inline bool is_octal_digit(unsigned char c) {
    return c >= '0' && c <= '7';
}

// Value of a hexadecimal digit, or -1 when c is not one.
inline int hex_digit_value(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace bytesmith
