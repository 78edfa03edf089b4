// Decoding of text lines: caret notation and backslash escapes.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/byte_scan.hpp"
#include "common/byte_sink.hpp"
#include "driver/line.hpp"
#include "text/text.hpp"

namespace {

// The text with its zero byte and the padding a line carries.
std::vector<char> padded(const std::string& text) {
    std::vector<char> v(text.begin(), text.end());
    v.resize(text.size() + 1 + bytesmith::line_padding);
    return v;
}

std::string decode(const std::string& text) {
    bytesmith::ByteSink sink;
    bytesmith::translate_text(padded(text).data(), text.size(), sink);
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
    bytesmith::translate_text(padded(first).data(), first.size(), sink);
    bytesmith::translate_text(padded(second).data(), second.size(), sink);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sink.data()), sink.size()), "abC");
}

// The decoding rule one character at a time, written apart from the block
// scanning decoder: the stretches between escapes, and escapes across the
// edges of the sixteen-character blocks, must come out the same.
std::string reference_decode(const std::string& t) {
    auto at = [&](std::size_t k) -> unsigned char {
        return k < t.size() ? static_cast<unsigned char>(t[k]) : 0;
    };
    auto octal = [](unsigned char c) { return c >= '0' && c <= '7'; };
    auto hex = [](unsigned char c) -> int {
        const char* digits = "0123456789abcdef";
        for (int v = 0; v < 16; ++v) {
            if (c == digits[v] || (v >= 10 && c == digits[v] - 32)) {
                return v;
            }
        }
        return -1;
    };
    std::string out;
    std::size_t i = 0;
    for (unsigned char c; (c = at(i)) != 0 && c != '\n';) {
        if (c == '^') {
            out += static_cast<char>(at(i + 1) - 64);
            i += at(i + 1) == 0 ? 1 : 2;
        } else if (c != '\\') {
            out += static_cast<char>(c);
            ++i;
        } else {
            unsigned char e = at(i + 1);
            const char* symbols = "a\ab\bf\fn\nr\rt\tv\v";
            const char* s = e ? std::strchr(symbols, e) : nullptr;
            if (s != nullptr && (s - symbols) % 2 == 0) {
                out += s[1];
                i += 2;
            } else if (octal(e)) {
                unsigned v = 0;
                std::size_t k = i + 1;
                for (int n = 0; n < 3 && octal(at(k)); ++n, ++k) {
                    v = v * 8 + (at(k) - '0');
                }
                out += static_cast<char>(v);
                i = k;
            } else if (e == 'x') {
                unsigned v = 0;
                for (i += 2; hex(at(i)) >= 0; ++i) {
                    v = v * 16 + static_cast<unsigned>(hex(at(i)));
                }
                out += static_cast<char>(v);
            } else {
                out += static_cast<char>(e);
                i += e == 0 ? 1 : 2;
            }
        }
    }
    return out;
}

// Up to max_len characters drawn from alphabet.
std::string random_text(std::mt19937_64& rng, const std::string& alphabet, std::size_t max_len) {
    std::string text;
    for (std::size_t n = rng() % (max_len + 1); n > 0; --n) {
        text += alphabet[rng() % alphabet.size()];
    }
    return text;
}

TEST(TextDecoding, MatchesTheCharacterRuleOnRandomTexts) {
    std::mt19937_64 rng(20261210);
    const std::string alphabet = "ab ^^^\\\\\\x0178AFfgnt#\t\xe9";
    for (int i = 0; i < 100000; ++i) {
        std::string text = random_text(rng, alphabet, 80);
        if (rng() % 8 == 0) {
            text.insert(rng() % (text.size() + 1), 1, rng() % 2 ? '\n' : '\0');
        }
        ASSERT_EQ(decode(text), reference_decode(text)) << text;
    }
}

// A line straight from the input buffer, in one pass, against the line
// translator that cuts the line first; and what follows the newline is
// never touched.
struct BufferedLine {
    bytesmith::TextLineStatus status;
    std::string bytes;
    std::size_t consumed;
};

BufferedLine translate_buffered(const std::string& data) {
    std::vector<char> buf = padded(data);
    bytesmith::ByteSink sink;
    bytesmith::TextLine line =
        bytesmith::translate_text_line(buf.data(), buf.data() + data.size(), sink);
    return {line.status,
            {reinterpret_cast<const char*>(sink.data()), sink.size()},
            line.next == nullptr ? 0 : static_cast<std::size_t>(line.next - buf.data())};
}

std::string translate_cut(const std::string& line) {
    std::vector<char> buf = padded(line);
    bytesmith::ByteSink sink;
    bytesmith::translate_line(buf.data(), line.size(), sink);
    return {reinterpret_cast<const char*>(sink.data()), sink.size()};
}

// True when the line's field, after the last TAB before any zero byte, is
// numeric; and when any TAB, or the start, is followed by the marker.
bool field_is_numeric(const std::string& line) {
    std::string content = line.substr(0, line.find('\0'));
    std::size_t tab = content.rfind('\t');
    return content.compare(tab == std::string::npos ? 0 : tab + 1, 2, "\\#") == 0;
}

bool some_field_start_is_numeric(const std::string& line) {
    std::string content = line.substr(0, line.find('\0'));
    return content.rfind("\\#", 0) == 0 || content.find("\t\\#") != std::string::npos;
}

TEST(TextLine, MatchesTheLineTranslatorOnRandomLines) {
    std::mt19937_64 rng(20261211);
    const std::string alphabet = "ab ^^\\\\x0178Ffn#\t\t\xe9";
    for (int i = 0; i < 100000; ++i) {
        std::string line = random_text(rng, alphabet, 59);
        if (rng() % 8 == 0) {
            line.insert(rng() % (line.size() + 1), 1, '\0');
        }
        BufferedLine got = translate_buffered(line + "\nab\tcd\n");
        if (got.status == bytesmith::TextLineStatus::numeric) {
            ASSERT_TRUE(some_field_start_is_numeric(line)) << line;
            ASSERT_EQ(got.bytes, "") << line;
            continue;
        }
        ASSERT_FALSE(field_is_numeric(line)) << line;
        ASSERT_EQ(got.status, bytesmith::TextLineStatus::done) << line;
        ASSERT_EQ(got.bytes, translate_cut(line)) << line;
        ASSERT_EQ(got.consumed, line.size() + 1) << line;
        // Without its newline the same line is incomplete and writes nothing.
        ASSERT_EQ(translate_buffered(line).status, bytesmith::TextLineStatus::incomplete) << line;
        ASSERT_EQ(translate_buffered(line).bytes, "") << line;
    }
}

// The block scans test a block at once wherever the processor has vector
// lanes they know, so that the comparison below checks those and not the
// plain loop against itself.
TEST(BlockScan, UsesTheVectorLanesOfThisProcessor) {
#if defined(__x86_64__)
    EXPECT_STREQ(bytesmith::vector_lanes_name, "SSE2");
#elif defined(__aarch64__) && !defined(__AARCH64EB__)
    EXPECT_STREQ(bytesmith::vector_lanes_name, "NEON");
#else
    EXPECT_STREQ(bytesmith::vector_lanes_name, "none");
#endif
}

// The block test against the plain loop, for the character sets in use.
TEST(BlockScan, MatchesThePlainLoop) {
    std::mt19937_64 rng(16);
    const char alphabet[] = {'^',    '\\', '\0',   '\n',   '\t', 'a', ' ',    '\x80',
                             '\xff', '_',  '\x01', '\x0b', ']',  '~', '\xdc', '\xde'};
    for (int i = 0; i < 20000; ++i) {
        bytesmith::Block b;
        for (unsigned char& c : b.bytes) {
            c = static_cast<unsigned char>(alphabet[rng() % sizeof alphabet]);
        }
        ASSERT_EQ((bytesmith::match_mask<'^', '\\', '\0', '\n'>(b)),
                  (bytesmith::match_mask_portable<'^', '\\', '\0', '\n'>(b)));
        ASSERT_EQ(bytesmith::match_mask<'\0'>(b), bytesmith::match_mask_portable<'\0'>(b));
        ASSERT_EQ(bytesmith::match_mask<'\t'>(b), bytesmith::match_mask_portable<'\t'>(b));
        ASSERT_EQ(bytesmith::text_stop_mask(b), bytesmith::text_stop_mask_portable(b));
    }
}

} // namespace
