// The number readers of numeric lines.
//
// Both follow one convention: the value is returned, and where reading
// stopped is stored through end when end is not null. Nothing was read
// exactly when *end equals text afterwards; the caller makes that test.
// Both read zero-terminated strings and never report an error.
#pragma once

#include <cstdint>

namespace bytesmith {

// Reads an unsigned integer whose base comes from its prefix: "0x" or "0X"
// hexadecimal, "0b" or "0B" binary (commas allowed anywhere in the digits),
// a leading zero octal, decimal otherwise. White space before the number is
// skipped. Every step is taken modulo 2 to the 64th.
std::uint64_t read_integer(const char* text, const char** end);

// The same, for a text whose characters may be read up to limit (its zero
// byte included): the reader may then look at several digits at once. The
// translator knows its line's length and saves the search for the end.
std::uint64_t read_integer(const char* text, const char* limit, const char** end);

// Reads a decimal number with the tool's own accumulation rule, which stored
// descriptions depend on bit for bit: it is deliberately not the correctly
// rounded conversion of the C library's routine of the same name, and it
// does not replace that routine. text starts with "-" or a decimal digit.
// The result is the same on every machine: the powers of ten are compiled
// in, and a NaN (zero times an infinite power, or an infinite mantissa times
// a zero one) always has the bits nan_bits.
double strtod(const char* text, const char** end);

// The NaN of zero times infinity on x86-64, where most descriptions are made.
inline constexpr std::uint64_t nan_bits = 0xFFF8000000000000u;

} // namespace bytesmith
