// Finding a few byte values in a block of sixteen characters at once.
//
// The line cutter and the text decoder spend most of their time looking for
// a handful of characters (newline, zero byte, TAB, caret, backslash) in long
// stretches of plain text. They load sixteen characters as a Block, ask for
// the mask of the positions holding any of their characters, and step over
// the whole stretch before the first one. On x86-64 the block test is SSE2,
// which every such processor has; elsewhere it is a plain loop. Both give the
// same masks, and the tests compare them.
#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

template <unsigned char... Cs> unsigned match_mask(const Block& b) {
#if defined(__SSE2__)
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.bytes));
    __m128i hits = _mm_setzero_si128();
    ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(Cs))))), ...);
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
#else
    return match_mask_portable<Cs...>(b);
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
#if defined(__SSE2__)
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.bytes));
    __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8('\n')), v);
    // '^' is 0x5E and '\\' 0x5C: setting bit 1 makes both 0x5E, and no other byte.
    __m128i marks = _mm_cmpeq_epi8(_mm_or_si128(v, _mm_set1_epi8(2)), _mm_set1_epi8('^'));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(low, marks)));
#else
    return text_stop_mask_portable(b);
#endif
}

// Position of the lowest set bit of a non-zero mask.
inline unsigned first_match(unsigned mask) {
    return static_cast<unsigned>(__builtin_ctz(mask));
}

// Position of the highest set bit of a non-zero mask.
inline unsigned last_match(unsigned mask) {
    return 31u - static_cast<unsigned>(__builtin_clz(mask));
}

} // namespace bytesmith
