// Sixteen byte lanes of a vector register, for the block scans.
//
// The scans test every character of a block at once: a test gives a lane of
// all ones where it holds, and lane_mask gathers one bit per lane, lane i in
// bit i. x86-64 does this with SSE2, which every such processor has, and
// little-endian 64-bit Arm with NEON, which every such processor has too.
// Elsewhere BYTESMITH_HAS_LANES stays undefined and the scans run their
// plain loops.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#define BYTESMITH_HAS_LANES 1
#define BYTESMITH_LANES_SSE2 1
#elif defined(__aarch64__) && defined(__ARM_NEON) && !defined(__ARM_BIG_ENDIAN)
#include <arm_neon.h>
#define BYTESMITH_HAS_LANES 1
#define BYTESMITH_LANES_NEON 1
#endif

namespace bytesmith {

#if defined(BYTESMITH_LANES_SSE2)

inline constexpr const char* vector_lanes_name = "SSE2";

using Lanes = __m128i;

inline Lanes load_lanes(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline Lanes splat(unsigned char c) {
    return _mm_set1_epi8(static_cast<char>(c));
}
inline Lanes equal(Lanes a, Lanes b) {
    return _mm_cmpeq_epi8(a, b);
}
// Lanes where a <= b, both taken as unsigned bytes.
inline Lanes at_most(Lanes a, Lanes b) {
    return _mm_cmpeq_epi8(_mm_min_epu8(a, b), a);
}
inline Lanes either(Lanes a, Lanes b) {
    return _mm_or_si128(a, b);
}
inline Lanes minus(Lanes a, Lanes b) {
    return _mm_sub_epi8(a, b);
}
inline unsigned lane_mask(Lanes hits) {
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}

#elif defined(BYTESMITH_LANES_NEON)

inline constexpr const char* vector_lanes_name = "NEON";

using Lanes = uint8x16_t;

inline Lanes load_lanes(const unsigned char* p) {
    return vld1q_u8(p);
}
inline Lanes splat(unsigned char c) {
    return vdupq_n_u8(c);
}
inline Lanes equal(Lanes a, Lanes b) {
    return vceqq_u8(a, b);
}
inline Lanes at_most(Lanes a, Lanes b) {
    return vcleq_u8(a, b);
}
inline Lanes either(Lanes a, Lanes b) {
    return vorrq_u8(a, b);
}
inline Lanes minus(Lanes a, Lanes b) {
    return vsubq_u8(a, b);
}
// NEON has no instruction that gathers one bit per lane: each lane keeps
// the bit of its own position within its half, and adding up each half's
// lanes puts the eight bits side by side.
inline unsigned lane_mask(Lanes hits) {
    static const unsigned char bit_of_lane[16] = {1, 2, 4, 8, 16, 32, 64, 128,
                                                  1, 2, 4, 8, 16, 32, 64, 128};
    uint8x16_t bits = vandq_u8(hits, vld1q_u8(bit_of_lane));
    return vaddv_u8(vget_low_u8(bits)) | (unsigned{vaddv_u8(vget_high_u8(bits))} << 8);
}

#else

inline constexpr const char* vector_lanes_name = "none";

#endif

} // namespace bytesmith
