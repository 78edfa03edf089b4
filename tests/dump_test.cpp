// bytesmith-dump: every byte string comes back unchanged through bytesmith,
// in lines of the promised shape.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "driver/line.hpp"
#include "dump/dump.hpp"
#include "run_program.hpp"

namespace {

using bytesmith_test::hex;
using bytesmith_test::Result;
using bytesmith_test::run_any;
using bytesmith_test::TempFile;
using namespace std::string_literals;

std::string dump(const std::string& bytes, std::uint64_t offset = 0) {
    bytesmith::ByteSink sink;
    bytesmith::dump_bytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                          offset, sink);
    return {reinterpret_cast<const char*>(sink.data()), sink.size()};
}

// Translates a description line by line, as bytesmith reads it.
std::string translate(const std::string& description) {
    bytesmith::ByteSink sink;
    std::size_t begin = 0;
    while (begin < description.size()) {
        std::size_t end = description.find('\n', begin);
        if (end == std::string::npos) {
            end = description.size();
        }
        std::vector<char> line(description.begin() + static_cast<std::ptrdiff_t>(begin),
                               description.begin() + static_cast<std::ptrdiff_t>(end));
        std::size_t len = line.size();
        line.resize(len + 1 + bytesmith::line_padding);
        bytesmith::NumericOutcome outcome = bytesmith::translate_line(line.data(), len, sink);
        EXPECT_EQ(outcome.status, bytesmith::NumericStatus::done) << "line at " << begin;
        begin = end + 1;
    }
    return {reinterpret_cast<const char*>(sink.data()), sink.size()};
}

bool is_octal(char c) {
    return c >= '0' && c <= '7';
}

// Checks one line against the promised shape: its label is the offset, and
// its text field holds printable ASCII only, escapes that cannot take in
// the character after them, and no numeric-line marker.
void expect_shape(const std::string& line, std::uint64_t offset) {
    SCOPED_TRACE("line \"" + line + "\"");
    std::size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos);
    ASSERT_GE(tab, 8u);
    EXPECT_EQ(line.find_first_not_of("0123456789abcdef"), tab);
    EXPECT_EQ(std::stoull(line.substr(0, tab), nullptr, 16), offset);
    EXPECT_TRUE(tab == 8 || line[0] != '0') << "only as wide as needed";
    std::string field = line.substr(tab + 1);
    ASSERT_FALSE(field.empty());
    EXPECT_NE(field.substr(0, 2), "\\#");
    for (std::size_t i = 0; i < field.size(); ++i) {
        ASSERT_TRUE(field[i] >= 0x20 && field[i] <= 0x7E) << "at " << i;
        if (field[i] == '^') {
            ADD_FAILURE() << "bare caret at " << i;
        }
        if (field[i] != '\\') {
            continue;
        }
        ASSERT_LT(i + 1, field.size()) << "backslash at the end";
        char e = field[++i];
        if (is_octal(e)) {
            std::size_t digits = 1;
            while (digits < 3 && i + 1 < field.size() && is_octal(field[i + 1])) {
                ++digits;
                ++i;
            }
            EXPECT_TRUE(digits == 3 || i + 1 == field.size() || !is_octal(field[i + 1]))
                << "octal escape at " << i << " takes in the next character";
        } else {
            EXPECT_NE(std::string("abtnvfr\\^").find(e), std::string::npos)
                << "escape \\" << e << " at " << i;
        }
    }
}

void expect_round_trip(const std::string& bytes, std::uint64_t offset = 0) {
    std::string description = dump(bytes, offset);
    EXPECT_EQ(hex(translate(description)), hex(bytes));
    std::size_t lines = 0;
    for (std::size_t begin = 0; begin < description.size(); ++lines) {
        std::size_t end = description.find('\n', begin);
        ASSERT_NE(end, std::string::npos) << "every line ends in a newline";
        expect_shape(description.substr(begin, end - begin), offset + 16 * lines);
        begin = end + 1;
    }
    EXPECT_EQ(lines, (bytes.size() + 15) / 16);
}

std::string every_byte() {
    std::string s;
    for (int c = 0; c < 256; ++c) {
        s += static_cast<char>(c);
    }
    return s;
}

std::string backwards(const std::string& s) {
    return {s.rbegin(), s.rend()};
}

struct Case {
    const char* name;
    std::string bytes;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class RoundTrip : public testing::TestWithParam<Case> {};

TEST_P(RoundTrip, GivesBackTheBytesInLinesOfTheRightShape) {
    expect_round_trip(GetParam().bytes);
}

std::string repeat(const std::string& s, int n) {
    std::string r;
    while (n-- > 0) {
        r += s;
    }
    return r;
}

const Case cases[] = {
    {"empty", ""},
    {"every_byte_value", every_byte()},
    {"every_byte_value_backwards", backwards(every_byte())},
    {"fifteen_bytes", "0123456789abcde"},
    {"sixteen_bytes", "0123456789abcdef"},
    {"seventeen_bytes", "0123456789abcdefg"},
    {"runs_of_backslashes", "\\ \\\\ \\\\\\ " + std::string(40, '\\') + "n\\"},
    {"runs_of_carets", "^ ^^ ^^^ " + std::string(40, '^') + "@^"},
    {"octal_digits_after_escapes", "\0"s
                                   "0\0"s
                                   "7\0"s
                                   "8\0"s
                                   "9\x01"
                                   "77\x08"
                                   "0\x1b"
                                   "1\x3f"
                                   "7"},
    {"octal_digit_starts_the_next_line", "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e"
                                         "\x0f\x10"
                                         "7"},
    {"hex_digits_after_escapes", "\x01"
                                 "a\x01"
                                 "f\x01"
                                 "x41\x7f"
                                 "F"},
    {"tabs", "\t\ta\tb\t\t"},
    {"crlf_line_ends", "one\r\ntwo\r\n\r\n"},
    {"marker_at_every_line_start", repeat("\\#C 65 66 \\x41\\#", 7)},
    {"hash_after_escaped_bytes", "\x01#\\#\t#\x80#"},
    {"zero_bytes", std::string(40, '\0')},
    {"high_bytes", "\x80\xbf\xc0\xe9\xff\xff"},
    {"blanks_at_the_ends_of_lines", repeat("               ", 3)},
};

std::string case_name(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Dump, RoundTrip, testing::ValuesIn(cases), case_name);

TEST(RoundTrip, EveryPairOfBytesOnALineAndAcrossLineEnds) {
    std::string pairs;
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            pairs += static_cast<char>(a);
            pairs += static_cast<char>(b);
        }
    }
    expect_round_trip(pairs);
    SCOPED_TRACE("pairs cut by the line ends");
    expect_round_trip("x" + pairs);
}

TEST(RoundTrip, RandomInputs) {
    std::mt19937 random(20261210);
    // Mostly the characters that matter to the decoder, some of any value.
    const std::string tricky = "\\^#\t\n\r\x01\0"
                               "01789afxAF "s;
    for (int i = 0; i < 2000; ++i) {
        std::string bytes(random() % 70, '\0');
        for (char& c : bytes) {
            c = random() % 3 ? tricky[random() % tricky.size()] : static_cast<char>(random());
        }
        expect_round_trip(bytes, random() % 2 ? 0 : std::uint64_t{random()} << 24);
        if (HasFailure()) {
            FAIL() << "input " << hex(bytes);
        }
    }
    std::string long_input(1 << 20, '\0');
    for (char& c : long_input) {
        c = static_cast<char>(random());
    }
    expect_round_trip(long_input);
}

TEST(Format, GoldenLines) {
    const std::string bytes = "Hi\\^\t\0"
                              "7\x01"
                              "8\x1b!\x7f\xe9\r\n#"
                              "\0\0"
                              "9"s;
    EXPECT_EQ(dump(bytes), "00000000\tHi\\\\\\^\\t\\0007\\18\\33!\\177\\351\\r\\n#\n"
                           "00000010\t\\0\\09\n");
}

TEST(Format, LabelWidensBeyondEightDigits) {
    EXPECT_EQ(dump("abcdefghijklmnopq", 0xfffffff0), "fffffff0\tabcdefghijklmnop\n100000000\tq\n");
    EXPECT_EQ(dump("z", 0xfffffffffffffff0), "fffffffffffffff0\tz\n");
}

TEST(Format, PiecesOfWholeLinesGiveTheLinesOfTheWhole) {
    const std::string bytes = every_byte() + "tail";
    EXPECT_EQ(dump(bytes.substr(0, 48)) + dump(bytes.substr(48), 48), dump(bytes));
}

// The built programs, end to end.

std::string messages(std::string text) {
    const std::string program = BYTESMITH_DUMP_PROGRAM;
    for (std::size_t at; (at = text.find("PROG")) != std::string::npos;) {
        text.replace(at, 4, program);
    }
    return text;
}

std::string random_bytes(std::size_t n) {
    std::mt19937 random(7);
    std::string s(n, '\0');
    for (char& c : s) {
        c = static_cast<char>(random());
    }
    return s;
}

TEST(Programs, RoundTripThroughBothPrograms) {
    // Larger than one read, and not a whole number of lines.
    const std::string bytes = every_byte() + random_bytes(300001);
    TempFile file(bytes);
    Result dumped = run_any(BYTESMITH_DUMP_PROGRAM, {file.path()}, "");
    EXPECT_EQ(dumped.err, "");
    EXPECT_EQ(dumped.status, 0);
    EXPECT_TRUE(dumped.out == dump(bytes)) << "the program writes what the encoder writes";
    Result built = run_any(BYTESMITH_PROGRAM, {}, dumped.out);
    EXPECT_TRUE(built.out == bytes);
    EXPECT_EQ(built.status, 0);
}

TEST(Programs, StandardInputWithoutOperands) {
    Result run = run_any(BYTESMITH_DUMP_PROGRAM, {}, "from standard input\x01");
    EXPECT_EQ(run.out, dump("from standard input\x01"));
    EXPECT_EQ(run.status, 0);
}

TEST(Programs, OperandsAreOneInputWithOffsetsRunningOn) {
    TempFile a("0123456789"), b("abcdefghij");
    Result run = run_any(BYTESMITH_DUMP_PROGRAM, {a.path(), b.path(), a.path()}, "ignored");
    EXPECT_EQ(run.out, "00000000\t0123456789abcdef\n00000010\tghij0123456789\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
}

TEST(Programs, UnreadableOperandsAreSkippedAndFailTheStatus) {
    TempFile a("A"), b("B");
    Result run =
        run_any(BYTESMITH_DUMP_PROGRAM, {a.path(), "/nonexistent/file", "/", "-", b.path()}, "");
    EXPECT_EQ(run.out, dump("AB"));
    EXPECT_EQ(run.err,
              messages("PROG: failed to open /nonexistent/file: No such file or directory\n"
                       "PROG: failed to read /: Is a directory\n"
                       "PROG: failed to open -: No such file or directory\n"));
    EXPECT_EQ(run.status, 1);
}

TEST(Programs, WriteErrorEndsTheProcessAtOnce) {
    // The first file fills more than one write, so the missing second one
    // is never reached.
    TempFile big(random_bytes(200000));
    Result full =
        run_any(BYTESMITH_DUMP_PROGRAM, {big.path(), "/nonexistent/file"}, "", {"/dev/full"});
    EXPECT_EQ(full.err,
              messages("PROG: failed to write standard output: No space left on device\n"));
    EXPECT_EQ(full.status, 1);

    Result closed =
        run_any(BYTESMITH_DUMP_PROGRAM, {}, "x", {.stdout_path = "", .close_stdout = true});
    EXPECT_EQ(closed.err, messages("PROG: failed to write standard output: Bad file descriptor\n"));
    EXPECT_EQ(closed.status, 1);
}

} // namespace
