// Decoding of text lines: caret notation and backslash escapes.

#include <gtest/gtest.h>

#include <string>

#include "common/byte_sink.hpp"
#include "text/text.hpp"

namespace {

std::string decode(const std::string& text) {
    bytesmith::ByteSink sink;
    bytesmith::translate_text(text.c_str(), text.size(), sink);
    return {reinterpret_cast<const char*>(sink.data()), sink.size()};
}

struct TextCase {
    const char* name;
    std::string text;
    std::string bytes;
};

class TextDecoding : public testing::TestWithParam<TextCase> {};

TEST_P(TextDecoding, WritesExpectedBytes) {
    const TextCase& c = GetParam();
    EXPECT_EQ(decode(c.text), c.bytes);
}

using namespace std::string_literals;

const TextCase text_cases[] = {
    {"empty", "", ""},
    {"plain_text_with_blanks", "Hello, world  ", "Hello, world  "},
    {"only_blanks", "   ", "   "},
    {"caret_at", "^@", "\x00"s},
    {"caret_letters", "^A^[^?", "\x01\x1b\xff"},
    {"caret_lower_case", "^a", "\x21"},
    {"caret_caret", "^^", "\x1e"},
    {"caret_backslash_is_not_an_escape", "^\\n",
     "\x1c"
     "n"},
    {"caret_at_end", "ab^", "ab\xc0"},
    {"symbolic_escapes", "\\a\\b\\f\\n\\r\\t\\v", "\a\b\f\n\r\t\v"},
    {"octal_one_digit", "\\0", "\x00"s},
    {"octal_three_digits", "\\101", "A"},
    {"octal_fourth_digit_is_text", "\\1012", "A2"},
    {"octal_wraps_modulo_256", "\\777", "\xff"},
    {"octal_ends_at_8", "\\08",
     "\x00"
     "8"s},
    {"octal_two_digits_then_9", "\\129",
     "\x0a"
     "9"},
    {"hex_two_digits", "\\x41", "A"},
    {"hex_keeps_last_two_digits", "\\x4142", "B"},
    {"hex_leading_zeros", "\\x0041", "A"},
    {"hex_upper_and_lower", "\\xaF", "\xaf"},
    {"hex_without_digits", "\\xg",
     "\x00"
     "g"s},
    {"hex_at_end", "\\x", "\x00"s},
    {"backslash_other_character", "\\q\\8\\9\\\"\\#", "q89\"#"},
    {"backslash_backslash", "\\\\", "\\"},
    {"backslash_caret", "\\^", "^"},
    {"backslash_high_byte", "\\\xe9", "\xe9"},
    {"backslash_at_end", "ab\\", "ab\x00"s},
    {"high_bytes_pass_unchanged", "caf\xe9 \x80\xff", "caf\xe9 \x80\xff"},
    {"carriage_return_kept", "line\r", "line\r"},
    {"zero_byte_ends_text", "ab\0cd"s, "ab"},
    {"newline_ends_text", "ab\ncd", "ab"},
};

INSTANTIATE_TEST_SUITE_P(Cases, TextDecoding, testing::ValuesIn(text_cases),
                         [](const testing::TestParamInfo<TextCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(TextDecoding, AppendsAfterEarlierOutput) {
    bytesmith::ByteSink sink;
    std::string first = "ab";
    std::string second = "\\x43";
    bytesmith::translate_text(first.c_str(), first.size(), sink);
    bytesmith::translate_text(second.c_str(), second.size(), sink);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sink.data()), sink.size()), "abC");
}

} // namespace
