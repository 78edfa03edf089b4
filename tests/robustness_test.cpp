// Bad input end to end: random bytes, bytes outside the character classes,
// very long lines and input that stops in the middle of an escape.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "run_program.hpp"

namespace {

using bytesmith_test::hex;
using bytesmith_test::Result;
using bytesmith_test::run_program;
using bytesmith_test::TempFile;
using namespace std::string_literals;

// Every line of standard error is one of the program's messages, and the
// status is 0, or 1 right after an invalid input message.
void expect_clean_finish(const Result& run) {
    ASSERT_TRUE(run.status == 0 || run.status == 1) << "status " << run.status;
    const std::string program = BYTESMITH_PROGRAM;
    std::size_t at = 0;
    std::string last;
    while (at < run.err.size()) {
        std::size_t nl = run.err.find('\n', at);
        ASSERT_NE(nl, std::string::npos) << "unfinished message";
        std::string line = run.err.substr(at, nl - at);
        bool known = line.rfind(program + ": Error while translating number on line ", 0) == 0 ||
                     line.rfind(".Line ignored from `", 0) == 0 ||
                     line.rfind(program + ": Invalid input on line ", 0) == 0 ||
                     // the ignored rest of a line may hold control characters
                     last.rfind(".Line ignored from `", 0) == 0;
        EXPECT_TRUE(known) << line;
        last = line;
        at = nl + 1;
    }
    bool invalid = last.rfind(program + ": Invalid input on line ", 0) == 0;
    EXPECT_EQ(run.status == 1, invalid) << run.err.substr(0, 200);
}

TEST(RandomInput, ArbitraryBytesFinishCleanly) {
    std::mt19937_64 random(20261210);
    std::string input(8 << 20, '\0');
    for (char& c : input) {
        c = static_cast<char>(random());
    }
    expect_clean_finish(run_program({}, input));
}

TEST(RandomInput, DescriptionCharactersFinishCleanly) {
    // Short lines from the characters that mean something, so that numeric
    // lines, escapes and numbers meet in every order. Most of these inputs
    // stop at invalid input, so each is small and there are many.
    const std::string alphabet = "\\\\\\###^^CSILFD0123456789abfxXbB.,-+eE \t\n\0\x80\xff"s;
    std::mt19937_64 random(7);
    for (int round = 0; round < 40; ++round) {
        std::string input;
        while (input.size() < 50000) {
            input += random() % 2 ? "\\#" : "";
            for (std::size_t n = random() % 40; n > 0; --n) {
                input += alphabet[random() % alphabet.size()];
            }
            input += '\n';
        }
        SCOPED_TRACE(round);
        expect_clean_finish(run_program({}, input));
    }
}

struct Case {
    const char* name;
    std::string input;
    std::string bytes; // hexadecimal
    int status;
};

class BadInput : public testing::TestWithParam<Case> {};

TEST_P(BadInput, TranslatesToBytesAndStatus) {
    const Case& c = GetParam();
    Result run = run_program({}, c.input);
    EXPECT_EQ(hex(run.out), c.bytes);
    EXPECT_EQ(run.status, c.status) << run.err;
}

// Bytes of 0x80 and above belong to no character class; a zero byte ends a
// line's content wherever it stands.
const Case byte_cases[] = {
    {"text_high_bytes_as_they_stand", "\x80\xfe\xff\n", "80 fe ff", 0},
    {"text_caret_high_byte", "^\x80^\xff", "40 bf", 0},
    {"text_backslash_high_byte", "\\\x80\\\xff", "80 ff", 0},
    {"text_hex_escape_stops_at_high_byte", "\\x4\xe1", "04 e1", 0},
    {"high_bytes_in_label", "\xff\xfe\tA\n\x80\t\\#C 66", "41 42", 0},
    {"text_zero_after_caret", "^\0A\nB"s, "c0 42", 0},
    {"text_zero_after_backslash", "\\\0A\nB"s, "00 42", 0},
    {"text_zero_inside_hex_escape",
     "\\x4\0"
     "1\nB"s,
     "04 42", 0},
    {"numeric_high_byte_first", "\\#\x80", "", 1},
    {"numeric_high_byte_after_number", "\\#C 7\xff", "07", 1},
    {"numeric_high_byte_type_escape", "\\#\\#\xff 5 C 6", "06", 0},
    {"numeric_zero_after_marker", "\\#\0C 5\nA"s, "41", 0},
    {"numeric_zero_after_backslash", "\\#C\\\0 5\nA"s, "00 41", 0},
    {"numeric_zero_after_minus", "\\#C -\0 5\nA"s, "41", 0},
    {"numeric_zero_inside_decimal",
     "\\#D 1.\0"
     "5\nA"s,
     "00 00 00 00 00 00 f0 3f 41", 0},
};

// The input ends, without a newline, in the middle of an escape.
const Case end_cases[] = {
    {"text_hex_escape_without_digits", "A\\x", "41 00", 0},
    {"text_octal_escape_of_one_digit", "A\\1", "41 01", 0},
    {"text_caret", "A^", "41 c0", 0},
    {"text_backslash", "A\\", "41 00", 0},
    {"numeric_hex_escape_without_digits", "\\#C 65\\x", "41 00", 0},
    {"numeric_octal_escape_of_one_digit", "\\#C 65\\1", "41 01", 0},
    {"numeric_caret", "\\#C 65^", "41", 1},
    {"numeric_backslash", "\\#C 65\\", "41 00", 0},
    {"numeric_type_escape_without_type", "\\#C 65\\#", "41 00", 1},
    {"numeric_exponent_marker", "\\#D 1e", "00 00 00 00 00 00 f0 3f", 1},
};

std::string case_name(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Bytes, BadInput, testing::ValuesIn(byte_cases), case_name);
INSTANTIATE_TEST_SUITE_P(EndOfInput, BadInput, testing::ValuesIn(end_cases), case_name);

TEST(EndOfInput, EscapeDoesNotReachIntoTheNextFile) {
    TempFile first("A\\x4");
    TempFile second("1^");
    TempFile third("\\#C\\1");
    Result run = run_program({first.path(), second.path(), third.path()}, "");
    EXPECT_EQ(hex(run.out), "41 04 31 c0 01");
    EXPECT_EQ(run.status, 0);
}

TEST(LongLines, TwentyMegabyteLineIsTranslatedWhole) {
    std::string line(20 << 20, 'z');
    line.replace(line.size() / 2, 4, "\\x42");
    Result run = run_program({}, "label\t" + line + "\nB");
    std::string expected(20 << 20, 'z');
    expected.replace(expected.size() / 2, 4, "B");
    ASSERT_EQ(run.out.size(), expected.size() + 1);
    EXPECT_TRUE(run.out == expected + "B");
    EXPECT_EQ(run.status, 0);
}

TEST(LongLines, NumericLineOfTwentyMegabytes) {
    std::string line = "\\#L";
    while (line.size() < (20u << 20)) {
        line += " 1";
    }
    Result run = run_program({}, line + "\n");
    std::size_t count = (line.size() - 3) / 2;
    ASSERT_EQ(run.out.size(), 8 * count);
    EXPECT_EQ(hex(run.out.substr(run.out.size() - 8)), "01 00 00 00 00 00 00 00");
    EXPECT_EQ(run.status, 0);
}

} // namespace
