// Decimal digits eight at a time.
//
// A run of decimal digits is read as one 64-bit word: a few additions mark
// the bytes that are not digits, the lowest mark gives the length of the
// run, and three multiplications turn up to eight digits into their value.
// There is no branch per digit, so numbers of every length cost the same.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/byte_order.hpp"

namespace bytesmith {

// The eight characters at p as a word, the first in the low byte.
inline std::uint64_t load_eight(const unsigned char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return little_endian(w);
}

// The high bit of each byte of w that is not a decimal digit. Carries and
// borrows only run from a lower byte to a higher one and never leave a digit,
// so every byte up to and including the first non-digit is marked exactly.
inline std::uint64_t non_digit_marks(std::uint64_t w) {
    return ((w + 0x4646464646464646u) | (w - 0x3030303030303030u)) & 0x8080808080808080u;
}

// The characters at p as a word, where avail characters may be read; past
// them the word holds zero bytes, which are not digits.
inline std::uint64_t load_eight(const unsigned char* p, std::size_t avail) {
    if (avail >= 8) {
        return load_eight(p);
    }
    unsigned char bytes[8] = {};
    std::memcpy(bytes, p, avail);
    return load_eight(bytes);
}

// Number of decimal digits that w starts with, 0 to 8.
inline unsigned leading_digits(std::uint64_t w) {
    std::uint64_t marks = non_digit_marks(w);
    return marks == 0 ? 8 : static_cast<unsigned>(std::countr_zero(marks)) / 8;
}

// Value of the first n digits of w (0 to 8 of them): they are moved to the
// top of the word, so that the bytes below read as leading zeros, and then
// combined pairwise. The move is two shifts, so that n = 0 clears the word.
inline std::uint32_t digits_value(std::uint64_t w, unsigned n) {
    std::uint64_t v = (w - 0x3030303030303030u) << (4 * (8 - n)) << (4 * (8 - n));
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFu) * (100 + (std::uint64_t{1000000} << 32))) +
         (((v >> 16) & 0x000000FF000000FFu) * (1 + (std::uint64_t{10000} << 32)))) >>
        32;
    return static_cast<std::uint32_t>(v);
}

// 10 to the power n, for n from 0 to 8.
inline std::uint64_t power_of_ten(unsigned n) {
    static constexpr std::uint64_t powers[] = {1,      10,      100,      1000,     10000,
                                               100000, 1000000, 10000000, 100000000};
    return powers[n];
}

// Continues a value v with the run of decimal digits at p, eight at a time,
// where the characters up to limit may be read. The value wraps modulo 2 to
// the 64th exactly as it would digit by digit. Returns the first character
// after the run.
inline const unsigned char* read_decimal(const unsigned char* p, const unsigned char* limit,
                                         std::uint64_t v, std::uint64_t* value) {
    for (;;) {
        std::uint64_t w = load_eight(p, static_cast<std::size_t>(limit - p));
        unsigned n = leading_digits(w);
        if (n == 0) {
            break;
        }
        v = v * power_of_ten(n) + digits_value(w, n);
        p += n;
        if (n < 8) {
            break;
        }
    }
    *value = v;
    return p;
}

// Reads the run of decimal digits at p, as above.
inline const unsigned char* read_decimal(const unsigned char* p, const unsigned char* limit,
                                         std::uint64_t* value) {
    return read_decimal(p, limit, 0, value);
}

// Reads the run of decimal digits at p where sixteen characters may be read
// whatever the limit, as on a line with its padding (see byte_scan.hpp). Runs
// of up to sixteen digits, nearly all of them, are read without a branch on
// their length, which the varied numbers of a line make unpredictable.
inline const unsigned char* read_decimal_padded(const unsigned char* p, const unsigned char* limit,
                                                std::uint64_t* value) {
    std::uint64_t low = load_eight(p);
    std::uint64_t high = load_eight(p + 8);
    unsigned n_low = leading_digits(low);
    unsigned n_high = n_low == 8 ? leading_digits(high) : 0;
    std::uint64_t v =
        std::uint64_t{digits_value(low, n_low)} * power_of_ten(n_high) + digits_value(high, n_high);
    p += n_low + n_high;
    if (n_high == 8) {
        return read_decimal(p, limit, v, value);
    }
    *value = v;
    return p;
}

} // namespace bytesmith
