#include "text/text.hpp"

#include <cstring>

#include "common/byte_scan.hpp"
#include "common/char_class.hpp"

namespace bytesmith {
namespace {

// The byte a symbolic escape stands for, or -1 when e is not one.
int symbolic_escape(unsigned char e) {
    switch (e) {
    case 'a':
        return 0x07;
    case 'b':
        return 0x08;
    case 'f':
        return 0x0C;
    case 'n':
        return 0x0A;
    case 'r':
        return 0x0D;
    case 't':
        return 0x09;
    case 'v':
        return 0x0B;
    default:
        return -1;
    }
}

// Decodes the escape whose backslash is at p[-1]; p points at the character
// after it. Stores the byte in *byte and returns the first character not
// consumed.
const unsigned char* decode_escape(const unsigned char* p, unsigned char* byte) {
    unsigned char e = *p;
    int symbolic = symbolic_escape(e);
    if (symbolic >= 0) {
        *byte = static_cast<unsigned char>(symbolic);
        return p + 1;
    }
    if (is_octal_digit(e)) {
        unsigned value = e - '0';
        ++p;
        for (int i = 0; i < 2 && is_octal_digit(*p); ++i, ++p) {
            value = value * 8 + (*p - '0');
        }
        *byte = static_cast<unsigned char>(value);
        return p;
    }
    if (e == 'x') {
        unsigned value = 0;
        int digit;
        for (++p; (digit = hex_digit_value(*p)) >= 0; ++p) {
            value = value * 16 + static_cast<unsigned>(digit);
        }
        *byte = static_cast<unsigned char>(value);
        return p;
    }
    // Any other character stands for itself. A backslash at the end of the
    // text takes the terminator as its character and writes a zero byte;
    // the caller sees the terminator next and stops.
    *byte = e;
    return e == '\0' ? p : p + 1;
}

} // namespace

void translate_text(const char* text, std::size_t len, ByteSink& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    // Each block is stored whole before its first special character is
    // known; the bytes past that character are overwritten or left beyond
    // the commit point, so the sink needs one block of slack.
    unsigned char* o = out.reserve(len + block_bytes);
    for (;;) {
        // Copy the run of characters that stand for themselves, a block at
        // a time, up to the next caret, backslash, zero byte or newline.
        unsigned mask;
        for (;;) {
            Block b = load_block(p);
            std::memcpy(o, b.bytes, block_bytes);
            mask = match_mask<'^', '\\', '\0', '\n'>(b);
            if (mask != 0) {
                break;
            }
            p += block_bytes;
            o += block_bytes;
        }
        unsigned run = first_match(mask);
        p += run;
        o += run;
        unsigned char c = *p;
        if (c == '\0' || c == '\n') {
            break;
        }
        ++p;
        if (c == '^') {
            // A caret at the end takes the terminator: (0 - 64) mod 256.
            *o++ = static_cast<unsigned char>(*p - 64u);
            if (*p == '\0') {
                break;
            }
            ++p;
        } else {
            p = decode_escape(p, o++);
        }
    }
    out.commit(o);
}

} // namespace bytesmith
