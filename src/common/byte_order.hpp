// The input format's byte order, least significant byte first, on any host.
#pragma once

#include <bit>
#include <cstdint>

namespace bytesmith {

// v with its eight bytes in the opposite order. Compilers make this one
// byte-reversing instruction.
constexpr std::uint64_t reverse_bytes(std::uint64_t v) {
    v = ((v & 0x00FF00FF00FF00FFu) << 8) | ((v >> 8) & 0x00FF00FF00FF00FFu);
    v = ((v & 0x0000FFFF0000FFFFu) << 16) | ((v >> 16) & 0x0000FFFF0000FFFFu);
    return (v << 32) | (v >> 32);
}

// Converts between a value and the word whose bytes in memory are that
// value least significant byte first; the same operation both ways.
constexpr std::uint64_t little_endian(std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::big) {
        return reverse_bytes(v);
    }
    return v;
}

} // namespace bytesmith
