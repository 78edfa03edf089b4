// Numeric lines in-process: random lines of integers against the values
// they spell, worked out digit by digit.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/byte_scan.hpp"
#include "common/byte_sink.hpp"
#include "numeric/numeric.hpp"

namespace {

struct Line {
    std::string text;
    std::vector<unsigned char> bytes;
};

void append_le(std::vector<unsigned char>& out, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

// One number in a random base and length, up to 24 digits so that decimal
// values wrap; its value is accumulated modulo 2 to the 64th. Hexadecimal
// numbers come in either case.
std::string random_number(std::mt19937_64& rng, std::uint64_t* value) {
    const int bases[] = {10, 10, 10, 16, 8};
    int base = bases[rng() % 5];
    bool upper = rng() % 2 == 0;
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string s = base == 16 ? (upper ? "0X" : "0x") : base == 8 ? "0" : "";
    std::uint64_t v = 0;
    std::size_t n = 1 + rng() % 24;
    for (std::size_t i = 0; i < n; ++i) {
        auto d = static_cast<unsigned>(rng() % static_cast<unsigned>(base));
        if (i == 0 && base == 10 && d == 0) {
            d = 1; // a leading zero would make it octal
        }
        s += digits[d];
        v = v * static_cast<unsigned>(base) + d;
    }
    *value = v;
    return s;
}

// Random items: type letters, numbers and byte escapes. Escapes and the
// letters that are no hexadecimal digits may follow the item before them
// without a blank, which puts every kind of character right after a number.
Line random_line(std::mt19937_64& rng) {
    static const char* const separators[] = {" ", "\t", "  ", ""};
    Line line;
    int width = 4;
    for (std::size_t items = rng() % 12; items > 0; --items) {
        std::string item;
        bool may_touch = true;
        std::size_t kind = rng() % 6;
        if (kind == 0) {
            const char letters[] = "CSIL";
            const int widths[] = {1, 2, 4, 8};
            std::size_t k = rng() % 4;
            item = letters[k];
            width = widths[k];
            may_touch = letters[k] != 'C';
        } else if (kind == 1) {
            auto byte = static_cast<unsigned>(rng() % 256);
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            item = escape;
            line.bytes.push_back(static_cast<unsigned char>(byte));
        } else {
            std::uint64_t v = 0;
            bool negative = rng() % 4 == 0;
            item = random_number(rng, &v);
            if (negative) {
                item.insert(0, 1, '-');
            }
            append_le(line.bytes, negative ? 0 - v : v, width);
            may_touch = false;
        }
        if (!line.text.empty()) {
            line.text += separators[rng() % (may_touch ? 4 : 3)];
        }
        line.text += item;
    }
    return line;
}

TEST(NumericLine, RandomIntegersGiveTheirValues) {
    std::mt19937_64 rng(20261210);
    for (int i = 0; i < 50000; ++i) {
        Line line = random_line(rng);
        std::vector<char> text(line.text.begin(), line.text.end());
        text.resize(line.text.size() + 1 + bytesmith::line_padding);
        bytesmith::ByteSink sink;
        bytesmith::NumericOutcome outcome =
            bytesmith::translate_numbers(text.data(), line.text.size(), sink);
        ASSERT_EQ(outcome.status, bytesmith::NumericStatus::done) << line.text;
        ASSERT_EQ(std::vector<unsigned char>(sink.data(), sink.data() + sink.size()), line.bytes)
            << line.text;
    }
}

// Digits that follow the zero byte, in the padding, are not part of the line.
TEST(NumericLine, StopsAtTheZeroByteWhateverFollows) {
    std::vector<char> text(1 + bytesmith::line_padding + 2, '7');
    text[0] = '5';
    text[1] = '\0';
    bytesmith::ByteSink sink;
    bytesmith::translate_numbers(text.data(), 1, sink);
    EXPECT_EQ(std::vector<unsigned char>(sink.data(), sink.data() + sink.size()),
              (std::vector<unsigned char>{5, 0, 0, 0}));
}

} // namespace
