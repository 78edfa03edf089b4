// The number readers on arbitrary strings: each stops within its string,
// and gives the same value, bit for bit, and the same stop point as the
// straightforward rule written out here one step at a time. Any shortcut
// the readers take (such as accumulating integer digits in 64 bits) must
// agree with it on every input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "readers/readers.hpp"
#include "reference_decimal.hpp"

namespace {

using Cursor = const unsigned char*;

bool space(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool digit(unsigned char c) {
    return c >= '0' && c <= '9';
}

int hex_value(unsigned char c) {
    if (digit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool starts_with(Cursor p, char letter) {
    return p[0] == '0' && (p[1] == letter || p[1] == letter - 'a' + 'A');
}

// read_integer, one character at a time.
std::uint64_t reference_integer(Cursor text, Cursor* end) {
    Cursor p = text;
    while (space(*p)) {
        ++p;
    }
    *end = text;
    if (*p == '\0') {
        return 0;
    }
    std::uint64_t v = 0;
    if (starts_with(p, 'x')) {
        p += 2;
        if (starts_with(p, 'x')) {
            p += 2;
        }
        for (; hex_value(*p) >= 0; ++p) {
            v = v * 16 + static_cast<unsigned>(hex_value(*p));
        }
    } else if (starts_with(p, 'b')) {
        p += 2;
        if (starts_with(p, 'b')) {
            p += 2;
        }
        for (; *p == ',' || *p == '0' || *p == '1'; ++p) {
            if (*p != ',') {
                v = v * 2 + static_cast<unsigned>(*p - '0');
            }
        }
    } else if (*p == '0') {
        for (++p; *p >= '0' && *p <= '7'; ++p) {
            v = v * 8 + static_cast<unsigned>(*p - '0');
        }
    } else {
        for (; digit(*p); ++p) {
            v = v * 10 + static_cast<unsigned>(*p - '0');
        }
    }
    *end = p;
    return v;
}

std::uint64_t bits(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The readers take zero-terminated strings; a zero byte in the input
    // simply ends the string early.
    std::vector<char> buf(data, data + size);
    buf.push_back('\0');
    const char* text = buf.data();
    const auto* utext = reinterpret_cast<Cursor>(text);
    const char* const last = text + std::strlen(text);

    const char* end = nullptr;
    Cursor ref_end = nullptr;
    std::uint64_t value = bytesmith::read_integer(text, &end);
    check(end >= text && end <= last);
    check(value == reference_integer(utext, &ref_end));
    check(reinterpret_cast<Cursor>(end) == ref_end);
    check(bytesmith::read_integer(text, nullptr) == value);

    // The decimal reader is only ever given a minus sign or a digit first:
    // turn any other first byte into a digit, so that no input is wasted.
    if (size > 0 && buf[0] != '-' && !digit(static_cast<unsigned char>(buf[0]))) {
        buf[0] = static_cast<char>('0' + static_cast<unsigned char>(buf[0]) % 10);
    }
    if (buf[0] == '\0') {
        return 0;
    }
    const char* last_d = text + std::strlen(text);
    double d = bytesmith::strtod(text, &end);
    check(end > text && end <= last_d);
    const char* ref_decimal_end = nullptr;
    check(bits(d) == bits(bytesmith_test::reference_strtod(text, &ref_decimal_end)));
    check(end == ref_decimal_end);
    check(bits(bytesmith::strtod(text, nullptr)) == bits(d));
    return 0;
}
