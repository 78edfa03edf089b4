#include "dump/dump.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace bytesmith {
namespace {

// How one byte is written: len characters of text, padded to four so that
// it is copied with one fixed-size move.
struct Spelling {
    char text[4];
    unsigned char len;
};

// Longest label (sixteen digits and a TAB), sixteen four-character escapes
// and the newline.
constexpr std::size_t max_line_length = 17 + 4 * dump_line_bytes + 1;

constexpr char symbolic_escape(unsigned c) {
    switch (c) {
    case 0x07:
        return 'a';
    case 0x08:
        return 'b';
    case 0x09:
        return 't';
    case 0x0A:
        return 'n';
    case 0x0B:
        return 'v';
    case 0x0C:
        return 'f';
    case 0x0D:
        return 'r';
    case '\\':
        return '\\';
    case '^':
        return '^';
    default:
        return 0;
    }
}

constexpr Spelling octal(unsigned c, int digits) {
    Spelling s{{'\\', 0, 0, 0}, static_cast<unsigned char>(digits + 1)};
    for (int i = digits; i > 0; --i, c >>= 3) {
        s.text[i] = static_cast<char>('0' + (c & 7));
    }
    return s;
}

constexpr Spelling spell(unsigned c, bool octal_digit_follows) {
    if (char e = symbolic_escape(c)) {
        return {{'\\', e, 0, 0}, 2};
    }
    if (c >= 0x20 && c <= 0x7E) {
        return {{static_cast<char>(c), 0, 0, 0}, 1};
    }
    // An octal escape takes up to three digits: a shorter one is safe only
    // when what follows cannot be read as one more digit.
    if (octal_digit_follows) {
        return octal(c, 3);
    }
    return octal(c, c < 010 ? 1 : c < 0100 ? 2 : 3);
}

// Spellings of every byte, first when anything but an octal digit follows,
// then when one does.
struct SpellingTable {
    Spelling spelling[2][256];
    constexpr SpellingTable() : spelling() {
        for (unsigned c = 0; c < 256; ++c) {
            spelling[0][c] = spell(c, false);
            spelling[1][c] = spell(c, true);
        }
    }
};
constexpr SpellingTable table;

constexpr char hex_digits[] = "0123456789abcdef";

// Writes the label of a line: offset in hexadecimal, at least eight digits,
// and a TAB. Returns the end.
char* write_label(char* o, std::uint64_t offset) {
    int digits = 8;
    while (digits < 16 && (offset >> (4 * digits)) != 0) {
        ++digits;
    }
    for (int i = digits - 1; i >= 0; --i) {
        o[i] = hex_digits[offset & 0xF];
        offset >>= 4;
    }
    o[digits] = '\t';
    return o + digits + 1;
}

// Writes the text field of the n bytes at p, n > 0. Returns the end.
char* write_field(char* o, const unsigned char* p, std::size_t n) {
    for (std::size_t i = 0; i + 1 < n; ++i) {
        bool digit_follows = p[i + 1] >= '0' && p[i + 1] <= '7';
        const Spelling& s = table.spelling[digit_follows][p[i]];
        std::memcpy(o, s.text, 4);
        o += s.len;
    }
    // The newline follows the last byte.
    const Spelling& s = table.spelling[0][p[n - 1]];
    std::memcpy(o, s.text, 4);
    return o + s.len;
}

// Room for count pieces of at most size characters each.
char* reserve(std::size_t count, std::size_t size, ByteSink& out) {
    if (count > SIZE_MAX / size) {
        throw std::bad_alloc();
    }
    return reinterpret_cast<char*>(out.reserve(count * size));
}

} // namespace

void dump_bytes(const unsigned char* data, std::size_t len, std::uint64_t offset, ByteSink& out) {
    std::size_t lines = len / dump_line_bytes + (len % dump_line_bytes != 0);
    char* o = reserve(lines, max_line_length, out);
    while (len > 0) {
        std::size_t n = len < dump_line_bytes ? len : dump_line_bytes;
        o = write_field(write_label(o, offset), data, n);
        *o++ = '\n';
        data += n;
        len -= n;
        offset += n;
    }
    out.commit(reinterpret_cast<unsigned char*>(o));
}

std::size_t dump_lines(const unsigned char* data, std::size_t len, bool at_end, ByteSink& out) {
    // A line of n bytes takes at most 4 n characters and its newline, so
    // five characters a byte are always enough.
    char* o = reserve(len, 5, out);
    std::size_t done = 0;
    while (done < len) {
        std::size_t n = std::min(len - done, dump_line_form_bytes);
        if (const void* end = std::memchr(data + done, '\n', n)) {
            n = static_cast<std::size_t>(static_cast<const unsigned char*>(end) - (data + done)) + 1;
        } else if (n < dump_line_form_bytes && !at_end) {
            break; // the line goes on in the bytes to come
        }
        o = write_field(o, data + done, n);
        *o++ = '\n';
        done += n;
    }
    out.commit(reinterpret_cast<unsigned char*>(o));
    return done;
}

} // namespace bytesmith
