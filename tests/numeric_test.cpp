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
#include "driver/line.hpp"
#include "numeric/numeric.hpp"
#include "text/text.hpp"

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

// A numeric line translated in place in the input buffer, as the driver
// does, against the same line cut out and given to translate_line. In place
// the line either gives the same bytes and ends after its newline, or is
// handed back with nothing written; it may never give other bytes, nor
// swallow an error the cut line reports.
struct InPlace {
    bool numeric; // the line was found numeric and tried in place
    bool done;
    std::string bytes;
    std::size_t consumed;
};

InPlace translate_in_place(const std::string& data) {
    std::vector<char> buf(data.begin(), data.end());
    buf.resize(data.size() + 1 + bytesmith::line_padding);
    const char* data_end = buf.data() + data.size();
    bytesmith::ByteSink sink;
    bytesmith::TextLine line = bytesmith::translate_text_line(buf.data(), data_end, sink);
    if (line.status != bytesmith::TextLineStatus::numeric) {
        return {false, false, "", 0};
    }
    const char* next = bytesmith::translate_numbers_in_place(line.next + 2, data_end, sink);
    return {true, next != nullptr,
            {reinterpret_cast<const char*>(sink.data()), sink.size()},
            next == nullptr ? 0 : static_cast<std::size_t>(next - buf.data())};
}

struct Cut {
    bytesmith::NumericStatus status;
    std::string bytes;
};

Cut translate_cut(const std::string& line) {
    std::vector<char> buf(line.begin(), line.end());
    buf.resize(line.size() + 1 + bytesmith::line_padding);
    bytesmith::ByteSink sink;
    bytesmith::NumericOutcome outcome = bytesmith::translate_line(buf.data(), line.size(), sink);
    return {outcome.status, {reinterpret_cast<const char*>(sink.data()), sink.size()}};
}

void expect_same_as_cut(const std::string& line, const std::string& after) {
    InPlace got = translate_in_place(line + after);
    if (!got.numeric) {
        return; // a zero byte came before the marker: a text line
    }
    if (!got.done) {
        ASSERT_EQ(got.bytes, "") << line;
        return;
    }
    Cut cut = translate_cut(line);
    ASSERT_EQ(cut.status, bytesmith::NumericStatus::done) << line;
    ASSERT_EQ(got.bytes, cut.bytes) << line;
    ASSERT_EQ(got.consumed, line.size() + 1) << line;
}

struct InPlaceCase {
    const char* name;
    std::string line;
    bool done; // translated in place, or handed back to be cut out
};

const InPlaceCase in_place_cases[] = {
    {"plain", "\\# 1 -2 0x3 C 4 \\x05 L 6", true},
    {"after_a_label", "label\t\\# S 7 8", true},
    {"blanks_at_the_end", "\\# 1 \r ", true},
    {"empty", "\\#", true},
    {"decimals", "\\# D 1.5 -2e3 F 7", true},
    {"later_tab_moves_the_field", "\\# 1 2\t3", false},
    {"later_tab_after_a_label", "a\t\\# 1\t\\# 2", false},
    {"zero_byte_ends_the_content", std::string("\\# 1 2\0 3", 9), false},
    {"minus_before_a_blank", "\\# -  5", false},
    {"minus_at_the_end", "\\# 5 -", false},
    {"type_escape_of_the_newline", "\\# 5 \\#", false},
    {"type_escape_of_a_tab", "\\# 5 \\#\t6", false},
    {"invalid_input", "\\# 5 z", false},
};

class NumericLineInPlace : public testing::TestWithParam<InPlaceCase> {};

TEST_P(NumericLineInPlace, IsDoneOrHandedBack) {
    const InPlaceCase& c = GetParam();
    InPlace got = translate_in_place(c.line + "\n7 8\n");
    EXPECT_EQ(got.done, c.done);
    expect_same_as_cut(c.line, "\n7 8\n");
    // Without its newline a line is never done in place.
    EXPECT_FALSE(translate_in_place(c.line).done);
}

INSTANTIATE_TEST_SUITE_P(Cases, NumericLineInPlace, testing::ValuesIn(in_place_cases),
                         [](const testing::TestParamInfo<InPlaceCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(NumericLineInPlace, MatchesTheCutLineOnRandomLines) {
    std::mt19937_64 rng(20261212);
    const std::string alphabet = "01234567890123456789      --xXb,\\\\##CSILFD.e\t\r\x01\xe9";
    for (int i = 0; i < 100000; ++i) {
        std::string line = rng() % 4 == 0 ? "lab\t\\#" : "\\#";
        for (std::size_t n = rng() % 40; n > 0; --n) {
            line += alphabet[rng() % alphabet.size()];
        }
        if (rng() % 8 == 0) {
            line.insert(rng() % (line.size() + 1), 1, '\0');
        }
        expect_same_as_cut(line, "\n-\t\\#5\n");
    }
}

} // namespace
