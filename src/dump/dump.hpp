// Bytes back to a description: one text line for every 16 bytes, labelled
// with the offset of its first byte, that bytesmith turns back into exactly
// those bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/byte_sink.hpp"

namespace bytesmith {

// Input bytes described by one line.
constexpr std::size_t dump_line_bytes = 16;

// Appends the description of the len bytes at data, the first of which lies
// at offset in the whole input: a line for every 16 bytes and a shorter last
// line for the rest. A caller that cuts a long input into pieces gives every
// piece but the last a multiple of 16 bytes, so that the lines are those of
// the whole input. Nothing is appended for len == 0.
//
// A line is the offset in lower-case hexadecimal (eight digits, more once the
// offset needs them), a TAB, the text field and a newline. In the text field
// printable ASCII stands for itself, except caret and backslash, written \^
// and \\; every other byte is a backslash escape that never takes in the
// character after it: \a \b \t \n \v \f \r, or octal with as few digits as
// possible, three when an octal digit follows.
void dump_bytes(const unsigned char* data, std::size_t len, std::uint64_t offset, ByteSink& out);

} // namespace bytesmith
