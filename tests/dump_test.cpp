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

// Checks a text field against the promised shape: printable ASCII only,
// escapes that cannot take in the character after them, and no
// numeric-line marker.
void expect_field_shape(const std::string& field) {
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

// Checks one line of the offset form: its label is the offset, as wide as
// needed, and a TAB; then the text field.
void expect_shape(const std::string& line, std::uint64_t offset) {
    SCOPED_TRACE("line \"" + line + "\"");
    std::size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos);
    ASSERT_GE(tab, 8u);
    EXPECT_EQ(line.find_first_not_of("0123456789abcdef"), tab);
    EXPECT_EQ(std::stoull(line.substr(0, tab), nullptr, 16), offset);
    EXPECT_TRUE(tab == 8 || line[0] != '0') << "only as wide as needed";
    expect_field_shape(line.substr(tab + 1));
}

// The lines of a description, without their newlines.
std::vector<std::string> lines_of(const std::string& description) {
    std::vector<std::string> lines;
    for (std::size_t begin = 0; begin < description.size();) {
        std::size_t end = description.find('\n', begin);
        if (end == std::string::npos) {
            ADD_FAILURE() << "every line ends in a newline";
            break;
        }
        lines.push_back(description.substr(begin, end - begin));
        begin = end + 1;
    }
    return lines;
}

void expect_round_trip(const std::string& bytes, std::uint64_t offset = 0) {
    std::string description = dump(bytes, offset);
    EXPECT_EQ(hex(translate(description)), hex(bytes));
    std::vector<std::string> lines = lines_of(description);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        expect_shape(lines[i], offset + 16 * i);
    }
    EXPECT_EQ(lines.size(), (bytes.size() + 15) / 16);
}

// The line form of the bytes, described at once.
std::string dump_line_form(const std::string& bytes) {
    bytesmith::ByteSink sink;
    std::size_t done = bytesmith::dump_lines(reinterpret_cast<const unsigned char*>(bytes.data()),
                                             bytes.size(), true, sink);
    EXPECT_EQ(done, bytes.size());
    return {reinterpret_cast<const char*>(sink.data()), sink.size()};
}

// The line form of the bytes, described in two pieces cut at cut, as a
// reader cuts its input.
std::string dump_line_form_in_pieces(const std::string& bytes, std::size_t cut) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    bytesmith::ByteSink sink;
    std::size_t done = bytesmith::dump_lines(data, cut, false, sink);
    EXPECT_LE(done, cut);
    bytesmith::dump_lines(data + done, bytes.size() - done, true, sink);
    return {reinterpret_cast<const char*>(sink.data()), sink.size()};
}

// The line form: the bytes come back; a line has no label and ends after
// its first newline byte or after 64 bytes, only the last one anywhere;
// described in pieces it is the same.
void expect_line_form_round_trip(const std::string& bytes) {
    std::string description = dump_line_form(bytes);
    EXPECT_EQ(hex(translate(description)), hex(bytes));
    std::vector<std::string> lines = lines_of(description);
    std::size_t at = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE("line \"" + lines[i] + "\"");
        expect_field_shape(lines[i]);
        std::string line_bytes = translate(lines[i]);
        ASSERT_LE(line_bytes.size(), 64u);
        std::size_t newline = line_bytes.find('\n');
        EXPECT_TRUE(newline == std::string::npos || newline + 1 == line_bytes.size())
            << "a line ends at its first newline byte";
        if (i + 1 < lines.size()) {
            EXPECT_TRUE(newline != std::string::npos || line_bytes.size() == 64)
                << "only the last line ends elsewhere";
        }
        EXPECT_EQ(hex(line_bytes), hex(bytes.substr(at, line_bytes.size())));
        at += line_bytes.size();
    }
    for (std::size_t cut : {std::size_t{0}, bytes.size() / 3, bytes.size() / 2, bytes.size()}) {
        EXPECT_EQ(dump_line_form_in_pieces(bytes, cut), description) << "cut at " << cut;
    }
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

TEST_P(RoundTrip, LineFormGivesBackTheBytesInLinesOfTheRightShape) {
    expect_line_form_round_trip(GetParam().bytes);
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
    {"newlines_only", "\n\n\n"},
    {"sixty_three_bytes", std::string(63, 'a')},
    {"sixty_four_bytes", std::string(64, 'a')},
    {"sixty_four_bytes_then_a_newline", std::string(64, 'a') + "\n"},
    {"long_line_then_short_ones", std::string(200, 'a') + "\nb\n\nc"},
    {"octal_digit_after_a_newline", "\x01\n7\x01\n"},
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
        expect_line_form_round_trip(bytes);
        if (HasFailure()) {
            FAIL() << "input " << hex(bytes);
        }
    }
    std::string long_input(1 << 20, '\0');
    for (char& c : long_input) {
        c = static_cast<char>(random());
    }
    expect_round_trip(long_input);
    expect_line_form_round_trip(long_input);
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

TEST(LineForm, GoldenLines) {
    EXPECT_EQ(dump_line_form("one\r\n\ntwo\t^\0"s + std::string(62, '-') + "\n"s + "end"),
              "one\\r\\n\n"
              "\\n\n"
              "two\\t\\^\\0" + std::string(58, '-') + "\n" + std::string(4, '-') + "\\n\n"
              "end\n");
}

TEST(LineForm, InsertingBytesChangesOnlyTheLinesThatHoldThem) {
    const std::string text = "first line\nsecond line\nthird line\n";
    std::vector<std::string> before = lines_of(dump_line_form(text));
    std::string changed = text;
    changed.insert(text.find("second") + 6, "\x01 and a new\nline");
    std::vector<std::string> after = lines_of(dump_line_form(changed));
    ASSERT_EQ(before.size(), 3u);
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[1], "second\\1 and a new\\n");
    EXPECT_EQ(after[2], "line line\\n");
    EXPECT_EQ(after[3], before[2]);
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

TEST(Programs, LineFormGoesOnAcrossOperandsAndReads) {
    // Larger than one read, with lines across the reads and the operands.
    std::string bytes = random_bytes(200000);
    TempFile a(bytes.substr(0, 100001)), b(bytes.substr(100001));
    for (const char* option : {"-l", "--lines"}) {
        Result run = run_any(BYTESMITH_DUMP_PROGRAM, {option, a.path(), b.path()}, "");
        EXPECT_TRUE(run.out == dump_line_form(bytes)) << option;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.status, 0);
    }
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
