// Bytes back to a description that bytesmith turns back into exactly those
// bytes, in one of two forms: a text line for every 16 bytes, labelled with
// the offset of its first byte, or a text line for every line of the input
// (up to 64 bytes) and no label, which changes only where the bytes do.
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

// Input bytes described by one line of the line form at most.
constexpr std::size_t dump_line_form_bytes = 64;

// Appends the description of bytes at data in the line form: a line ends
// after each newline byte, or after 64 bytes without one, and has no label;
// its text field is written as in dump_bytes. Describes the lines that end
// within the len bytes, and when at_end is set the rest as a last line too;
// returns how many bytes that was. A caller reading an input in pieces
// hands the bytes not described on, with those that follow them.
std::size_t dump_lines(const unsigned char* data, std::size_t len, bool at_end, ByteSink& out);

} // namespace bytesmith
