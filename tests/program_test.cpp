// The built program end to end: description in, bytes, messages and exit
// status out.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_program.hpp"

namespace {

using bytesmith_test::hex;
using bytesmith_test::Result;
using bytesmith_test::run_program;
using bytesmith_test::TempFile;
using namespace std::string_literals;

// Expected messages name the program as PROG; it is the path it was run by.
std::string messages(std::string text) {
    const std::string program = BYTESMITH_PROGRAM;
    for (std::size_t at; (at = text.find("PROG")) != std::string::npos;) {
        text.replace(at, 4, program);
    }
    return text;
}

std::string invalid(int line) {
    return messages("PROG: Invalid input on line " + std::to_string(line) + "\n");
}

std::string ignored(int line, const std::string& rest) {
    return messages("PROG: Error while translating number on line " + std::to_string(line) +
                    "\n.Line ignored from `" + rest + "'\n");
}

struct Case {
    const char* name;
    std::string input;
    std::string bytes; // hexadecimal
    std::string err;
    int status;
};

class Description : public testing::TestWithParam<Case> {};

TEST_P(Description, TranslatesToBytesMessagesAndStatus) {
    const Case& c = GetParam();
    Result run = run_program({}, c.input);
    EXPECT_EQ(hex(run.out), c.bytes);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.status, c.status);
}

const Case line_cases[] = {
    {"label_and_text", "label\tHello\n", "48 65 6c 6c 6f", "", 0},
    {"last_tab_starts_the_field", "a\tb\tc\n", "63", "", 0},
    {"empty_lines_and_bare_labels", "\n\nlabel\t\n", "", "", 0},
    {"nothing_between_lines", "ab\ncd\n", "61 62 63 64", "", 0},
    {"last_line_without_newline", "A\nB", "41 42", "", 0},
    {"only_one_newline_removed", "A\n\n\\n\n", "41 0a", "", 0},
    {"crlf_text_keeps_carriage_return", "one\r\ntwo\r\n", "6f 6e 65 0d 74 77 6f 0d", "", 0},
    {"crlf_numeric_carriage_return_is_blank", "\\#C 65\r\n", "41", "", 0},
    {"zero_byte_ends_line_content", "ab\0cd\nef"s, "61 62 65 66", "", 0},
    {"tab_after_zero_byte_not_seen", "x\t\\#C 65\0\tjunk\n"s, "41", "", 0},
    {"text_line_of_blanks_writes_them", "  \n", "20 20", "", 0},
    {"marker_after_label", "hdr\t\\#S 258\n", "02 01", "", 0},
    {"marker_not_at_field_start", " \\#C 65\n", "20 23 43 20 36 35", "", 0},
};

const Case value_cases[] = {
    {"default_type_is_I", "\\#5", "05 00 00 00", "", 0},
    {"marker_alone", "\\#", "", "", 0},
    {"marker_and_blanks", "\\#   ", "", "", 0},
    {"type_resets_every_line", "\\#C 1\n\\#2", "01 02 00 00 00", "", 0},
    {"each_integer_width", "\\#C 65 S 258 I 513 L 0x0102030405060708",
     "41 02 01 01 02 00 00 08 07 06 05 04 03 02 01", "", 0},
    {"negatives", "\\#C -1 S -2 I -3 L -4", "ff fe ff fd ff ff ff fc ff ff ff ff ff ff ff", "", 0},
    {"values_cut_to_width", "\\#C 256 C 511 S 65536", "00 ff 00 00", "", 0},
    {"bases", "\\#I 0x10 0b101 017", "10 00 00 00 05 00 00 00 0f 00 00 00", "", 0},
    {"octal_ends_at_8_and_9", "\\#I 08 09", "00 00 00 00 08 00 00 00 00 00 00 00 09 00 00 00", "",
     0},
    {"hex_prefix_alone", "\\#I 0x", "00 00 00 00", "", 0},
    {"hex_prefix_twice", "\\#C 0x0x5 0X0Xf", "05 0f", "", 0},
    {"hex_stops_at_next_item", "\\#S 0x4142\\x43I0XfF", "42 41 43 ff 00 00 00", "", 0},
    {"binary_consumes_commas", "\\#I 0b1,5", "01 00 00 00 05 00 00 00", "", 0},
    {"wraps_modulo_two_to_the_64th", "\\#I 99999999999999999999", "ff ff 0f 63", "", 0},
    {"packed_without_blanks", "\\#C65C66", "41 42", "", 0},
    {"letters_after_numbers", "\\#I1I2C3", "01 00 00 00 02 00 00 00 03", "", 0},
    {"minus_blank_number", "\\#I - 5", "fb ff ff ff", "", 0},
    {"floats", "\\#F 1.5 D 1.5", "00 00 c0 3f 00 00 00 00 00 00 f8 3f", "", 0},
    {"double_own_rounding", "\\#D 0.3", "34 33 33 33 33 33 d3 3f", "", 0},
    {"float_overflow_and_underflow", "\\#F 1e39 F 1e-46", "00 00 80 7f 00 00 00 00", "", 0},
    {"double_overflow", "\\#D 1e400", "00 00 00 00 00 00 f0 7f", "", 0},
    {"powers_of_ten_whatever_the_machine", "\\#D 1e23 1e126",
     "f7 4a e1 c7 02 2d b5 44 3f a0 14 c4 ec a2 17 5a", "", 0},
    {"nan_whatever_the_machine_and_sign", "\\#D 0e400 -0e400 F 0e400 -0e400",
     "00 00 00 00 00 00 f8 ff 00 00 00 00 00 00 f8 ff 00 00 c0 ff 00 00 c0 ff", "", 0},
    {"float_lone_minus_is_negative_zero", "\\#F -", "00 00 00 80", "", 0},
    {"float_minus_blank_number", "\\#F - 5", "00 00 00 80 00 00 a0 40", "", 0},
    {"float_rounds_to_nearest_even", "\\#F 16777217 F 16777219", "00 00 80 4b 02 00 80 4b", "", 0},
    {"type_escape", "\\#\\#D 1.5", "00 00 00 00 00 00 f8 3f", "", 0},
    {"type_escape_other_byte_writes_nothing", "\\#\\#Z 65 66", "", "", 0},
    {"hex_escape", "\\#\\x41\\x4142\\x", "41 42 00", "", 0},
    {"octal_escape", "\\#\\101\\777", "41 ff", "", 0},
    {"escape_of_8_writes_zero_then_number", "\\#C\\08\\8", "00 08 00 08", "", 0},
    {"final_backslash_writes_zero", "\\#C 65 \\", "41 00", "", 0},
};

const Case error_cases[] = {
    {"lone_minus", "\\#I -", "", ignored(1, ""), 0},
    {"minus_then_letter", "\\#C 1 -y 2\nB", "01 42", ignored(1, "y 2"), 0},
    {"minus_then_blank_at_end", "\\#C - ", "", ignored(1, " "), 0},
    {"error_line_numbers", "A\n\\#I -\nB\n\\#I -y", "41 42", ignored(2, "") + ignored(4, "y"), 0},
    {"minus_blank_letter_is_invalid", "\\#I - x", "00 00 00 00", invalid(1), 1},
    {"double_minus_letter_is_invalid", "\\#D -x", "00 00 00 00 00 00 00 80", invalid(1), 1},
    {"final_marker_is_invalid", "\\#C 65 \\#", "41 00", invalid(1), 1},
    {"period_after_integer", "\\#I 1.5\nA", "01 00 00 00", invalid(1), 1},
    {"plus_sign", "\\#+5", "", invalid(1), 1},
    {"comma_between_numbers", "A\n\\#1,2", "41 01 00 00 00", invalid(2), 1},
    {"lower_case_letter", "\\#c 5", "", invalid(1), 1},
    {"period_starts_number", "\\#D .5", "", invalid(1), 1},
    {"backslash_other", "\\#\\q", "00", invalid(1), 1},
    {"high_byte", "\\#C 1 \xe9", "01", invalid(1), 1},
    {"zero_byte_ends_numeric_line", "\\#C 1\0 x\nA"s, "01 41", "", 0},
};

std::string case_name(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Lines, Description, testing::ValuesIn(line_cases), case_name);
INSTANTIATE_TEST_SUITE_P(Values, Description, testing::ValuesIn(value_cases), case_name);
INSTANTIATE_TEST_SUITE_P(Errors, Description, testing::ValuesIn(error_cases), case_name);

TEST(Operands, AreTranslatedInOrderAndTheSameFileTwice) {
    TempFile a("A\n"), b("\\#C 66\n");
    Result run = run_program({a.path(), b.path(), a.path()}, "ignored");
    EXPECT_EQ(run.out, "ABA");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
}

TEST(Operands, HyphenIsAnOrdinaryFileName) {
    Result run = run_program({"-"}, "from standard input");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, messages("PROG: failed to open -: No such file or directory\n"));
}

TEST(Operands, MissingFileIsSkippedAndFailsTheStatus) {
    TempFile a("A"), b("B");
    Result run = run_program({a.path(), "/nonexistent/file", b.path()}, "");
    EXPECT_EQ(run.out, "AB");
    EXPECT_EQ(run.err,
              messages("PROG: failed to open /nonexistent/file: No such file or directory\n"));
    EXPECT_EQ(run.status, 1);
}

TEST(Operands, DirectoryIsAReadErrorAndTheRestGoesOn) {
    TempFile a("A");
    Result run = run_program({"/", a.path()}, "");
    EXPECT_EQ(run.out, "A");
    EXPECT_EQ(run.err, messages("PROG: failed to read /: Is a directory\n"));
    EXPECT_EQ(run.status, 1);
}

TEST(Operands, LineNumbersRestartForEveryFile) {
    TempFile a("A\n\\#I -\n"), b("\\#C -\n");
    Result run = run_program({a.path(), b.path()}, "");
    EXPECT_EQ(run.err, ignored(2, "") + ignored(1, ""));
    EXPECT_EQ(run.status, 0);
}

TEST(Operands, InvalidInputStopsBeforeTheNextFile) {
    TempFile a("A\n\\#C 66 ?\n"), b("C");
    Result run = run_program({a.path(), b.path()}, "");
    EXPECT_EQ(run.out, "AB");
    EXPECT_EQ(run.err, invalid(2));
    EXPECT_EQ(run.status, 1);
}

TEST(Output, FullDeviceIsAWriteError) {
    Result run = run_program({}, "some bytes\n", {"/dev/full"});
    EXPECT_EQ(run.err,
              messages("PROG: failed to write standard output: No space left on device\n"));
    EXPECT_EQ(run.status, 1);
}

TEST(Output, ClosedStandardOutputIsAWriteError) {
    Result run = run_program({}, "some bytes\n", {.stdout_path = "", .close_stdout = true});
    EXPECT_EQ(run.err, messages("PROG: failed to write standard output: Bad file descriptor\n"));
    EXPECT_EQ(run.status, 1);
}

TEST(LongLines, TextLineIsReadWholeWithAnEscapeAcrossAnyCut) {
    // The escape spans characters 8190 to 8193; the line is 100 000 long.
    std::string line = std::string(8189, 'a') + "\\x41" + std::string(100000 - 8193, 'z');
    Result run = run_program({}, "label\t" + line + "\n\\#I -\n");
    EXPECT_EQ(run.out, std::string(8189, 'a') + "A" + std::string(100000 - 8193, 'z'));
    EXPECT_EQ(run.err, ignored(2, "")) << "line numbers still match the file";
    EXPECT_EQ(run.status, 0);
}

TEST(LongLines, NumericLineIsReadWhole) {
    std::string line = "\\#C";
    std::string bytes;
    while (line.size() < 100000) {
        line += " 65 0x42";
        bytes += "AB";
    }
    Result run = run_program({}, line);
    EXPECT_EQ(run.out, bytes);
    EXPECT_EQ(run.status, 0);
}

} // namespace
