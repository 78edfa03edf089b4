#include <cstring>

#include "common/char_class.hpp"
#include "readers/eight_digits.hpp"
#include "readers/readers.hpp"

namespace bytesmith {
namespace {

using Cursor = const unsigned char*;

// True when p starts with "0" and then either of the two prefix letters.
bool has_prefix(Cursor p, unsigned char lower, unsigned char upper) {
    return p[0] == '0' && (p[1] == lower || p[1] == upper);
}

Cursor read_hex(Cursor p, std::uint64_t* value) {
    if (has_prefix(p, 'x', 'X')) {
        p += 2; // a repeated prefix is skipped too: 0x0x5 reads as 5
    }
    return read_hex_digits(p, 0, value);
}

Cursor read_binary(Cursor p, std::uint64_t* value) {
    if (has_prefix(p, 'b', 'B')) {
        p += 2;
    }
    std::uint64_t v = 0;
    for (;; ++p) {
        if (*p == '0' || *p == '1') {
            v = v * 2 + (*p - '0');
        } else if (*p != ',') {
            break;
        }
    }
    *value = v;
    return p;
}

Cursor read_octal(Cursor p, std::uint64_t* value) {
    std::uint64_t v = 0;
    for (; is_octal_digit(*p); ++p) {
        v = v * 8 + (*p - '0');
    }
    *value = v;
    return p;
}

} // namespace

std::uint64_t read_integer(const char* text, const char* limit, const char** end) {
    auto p = reinterpret_cast<Cursor>(text);
    while (is_space(*p)) {
        ++p;
    }
    std::uint64_t value = 0;
    if (*p == '\0') {
        p = reinterpret_cast<Cursor>(text); // only white space: nothing read
    } else if (has_prefix(p, 'x', 'X')) {
        p = read_hex(p + 2, &value);
    } else if (has_prefix(p, 'b', 'B')) {
        p = read_binary(p + 2, &value);
    } else if (p[0] == '0') {
        p = read_octal(p + 1, &value);
    } else {
        p = read_decimal(p, reinterpret_cast<Cursor>(limit), &value);
    }
    if (end != nullptr) {
        *end = reinterpret_cast<const char*>(p);
    }
    return value;
}

std::uint64_t read_integer(const char* text, const char** end) {
    return read_integer(text, text + std::strlen(text) + 1, end);
}

} // namespace bytesmith
