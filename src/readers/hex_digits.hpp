// Hexadecimal digits sixteen at a time.
//
// The digits after a "0x" prefix are found as one mask over a block of
// sixteen characters, and their values are gathered from two 64-bit words by
// shifts and masks, so that numbers of every length up to sixteen digits take
// the same path.
#pragma once

#include <cstdint>

#include "common/byte_scan.hpp"
#include "common/char_class.hpp"
#include "readers/eight_digits.hpp"

namespace bytesmith {

// Bit i is set when b.bytes[i] is a hexadecimal digit. The plain loop, kept
// on every platform as the reference for the tests.
inline unsigned hex_digit_mask_portable(const Block& b) {
    unsigned mask = 0;
    for (std::size_t i = 0; i < block_bytes; ++i) {
        if (hex_digit_value(b.bytes[i]) >= 0) {
            mask |= 1u << i;
        }
    }
    return mask;
}

inline unsigned hex_digit_mask(const Block& b) {
#if defined(BYTESMITH_HAS_LANES)
    // A range test as one unsigned comparison: c - '0' <= 9 wraps every
    // byte below '0' round to a large value. Setting bit 5 makes capital
    // letters small ones, and takes no other byte into 'a' to 'f'.
    Lanes v = load_lanes(b.bytes);
    Lanes digit = at_most(minus(v, splat('0')), splat(9));
    Lanes letter = at_most(minus(either(v, splat(0x20)), splat('a')), splat(5));
    return lane_mask(either(digit, letter));
#else
    return hex_digit_mask_portable(b);
#endif
}

// Value of the eight characters of w as hexadecimal digits, the first one
// the most significant. Only the bytes that are digits give meaningful
// nibbles; the caller shifts the others out.
inline std::uint32_t hex_word_value(std::uint64_t w) {
    // '0'-'9' carry their value in the low nibble; letters, with bit 6 set,
    // need nine more. The last mask keeps the sums of other bytes from
    // spilling into the nibble beside them.
    std::uint64_t nibbles =
        ((w & 0x0F0F0F0F0F0F0F0Fu) + ((w >> 6) & 0x0101010101010101u) * 9) & 0x0F0F0F0F0F0F0F0Fu;
    std::uint64_t bytes = ((nibbles << 4) | (nibbles >> 8)) & 0x00FF00FF00FF00FFu;
    std::uint64_t halves = ((bytes << 8) | (bytes >> 16)) & 0x0000FFFF0000FFFFu;
    return static_cast<std::uint32_t>((halves << 16) | (halves >> 32));
}

// Reads the run of hexadecimal digits at p where sixteen characters may be
// read whatever the limit, as on a line with its padding. The value wraps
// modulo 2 to the 64th as it would digit by digit. Returns the first
// character after the run.
inline const unsigned char* read_hex_padded(const unsigned char* p, std::uint64_t* value) {
    unsigned n = first_match(~hex_digit_mask(load_block(p))); // 0 to 16
    std::uint64_t all =
        (std::uint64_t{hex_word_value(load_eight(p))} << 32) | hex_word_value(load_eight(p + 8));
    std::uint64_t v = n == 0 ? 0 : all >> (64 - 4 * n);
    p += n;
    if (n == 16) {
        return read_hex_digits(p, v, value);
    }
    *value = v;
    return p;
}

} // namespace bytesmith
