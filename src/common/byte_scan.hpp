// Finding a few byte values in a block of sixteen characters at once.
//
// The line cutter and the text decoder spend most of their time looking for
// a handful of characters (newline, zero byte, TAB, caret, backslash) in long
// stretches of plain text. They load sixteen characters as a Block, ask for
// the mask of the positions holding any of their characters, and step over
// the whole stretch before the first one. Where the processor has vector
// lanes (lanes.hpp) the block is tested at once; elsewhere by a plain loop.
// Both give the same masks, and the tests compare them.
#pragma once

#include <bit>
#include <cstddef>
#include <cstring>

#include "common/lanes.hpp"

namespace bytesmith {

constexpr std::size_t block_bytes = 16;

// Sixteen characters, copied out of the input.
struct Block {
    unsigned char bytes[block_bytes];
};

// Readable bytes every line carries past its terminating zero byte. A scan
// stops at the first block, or pair of blocks, that holds the terminator, so
// it reads at most 2 * block_bytes - 1 bytes beyond it, whatever they are,
// and needs no bounds test of its own. Who hands a line to the translators
// provides them.
constexpr std::size_t line_padding = 2 * block_bytes;

// The block starting at p.
inline Block load_block(const unsigned char* p) {
    Block b;
    std::memcpy(b.bytes, p, block_bytes);
    return b;
}

// Bit i of the result is set when b.bytes[i] is one of the characters Cs.
// The plain loop, kept on every platform as the reference for the tests.
template <unsigned char... Cs> unsigned match_mask_portable(const Block& b) {
    unsigned mask = 0;
    for (std::size_t i = 0; i < block_bytes; ++i) {
        unsigned char c = b.bytes[i];
        if ((false || ... || (c == Cs))) {
            mask |= 1u << i;
        }
    }
    return mask;
}

template <unsigned char C, unsigned char... Cs> unsigned match_mask(const Block& b) {
#if defined(BYTESMITH_HAS_LANES)
    Lanes v = load_lanes(b.bytes);
    Lanes hits = equal(v, splat(C));
    ((hits = either(hits, equal(v, splat(Cs)))), ...);
    return lane_mask(hits);
#else
    return match_mask_portable<C, Cs...>(b);
#endif
}

// Bit i is set when b.bytes[i] is a control character up to newline (the
// zero byte, TAB and newline among them), a caret or a backslash: the
// characters text decoding stops at, and a few more it steps over, found
// with three vector tests instead of five.
inline unsigned text_stop_mask_portable(const Block& b) {
    unsigned mask = 0;
    for (std::size_t i = 0; i < block_bytes; ++i) {
        unsigned char c = b.bytes[i];
        if (c <= '\n' || c == '^' || c == '\\') {
            mask |= 1u << i;
        }
    }
    return mask;
}

inline unsigned text_stop_mask(const Block& b) {
#if defined(BYTESMITH_HAS_LANES)
    Lanes v = load_lanes(b.bytes);
    Lanes low = at_most(v, splat('\n'));
    // '^' is 0x5E and '\\' 0x5C: setting bit 1 makes both 0x5E, and no other byte.
    Lanes marks = equal(either(v, splat(2)), splat('^'));
    return lane_mask(either(low, marks));
#else
    return text_stop_mask_portable(b);
#endif
}

// Position of the lowest set bit of a non-zero mask.
inline unsigned first_match(unsigned mask) {
    return static_cast<unsigned>(std::countr_zero(mask));
}

// Position of the highest set bit of a non-zero mask.
inline unsigned last_match(unsigned mask) {
    return 31u - static_cast<unsigned>(std::countl_zero(mask));
}

} // namespace bytesmith
