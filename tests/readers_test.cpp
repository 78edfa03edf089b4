// The number readers: values, bit patterns and stop points.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "readers/eight_digits.hpp"
#include "readers/hex_digits.hpp"
#include "readers/readers.hpp"
#include "reference_decimal.hpp"

namespace {

using bytesmith_test::reference_power_of_ten;
using bytesmith_test::reference_strtod;

struct IntegerCase {
    const char* text;
    std::uint64_t value;
    std::size_t consumed;
};

class IntegerReader : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerReader, ReadsValueAndStopsAtTheRightPlace) {
    const IntegerCase& c = GetParam();
    const char* end = nullptr;
    EXPECT_EQ(bytesmith::read_integer(c.text, &end), c.value) << c.text;
    EXPECT_EQ(static_cast<std::size_t>(end - c.text), c.consumed) << c.text;
}

const IntegerCase integer_cases[] = {
    // decimal
    {"0", 0, 1},
    {"7", 7, 1},
    {"123abc", 123, 3},
    {"1,000", 1, 1},
    {"   42", 42, 5},
    {"\t\r\n\v\f42", 42, 7},
    {"18446744073709551615", UINT64_MAX, 20},
    {"18446744073709551616", 0, 20},
    {"99999999999999999999", 7766279631452241919u, 20},
    // hexadecimal
    {"0x1F", 31, 4},
    {"0X1f", 31, 4},
    {"0x", 0, 2},
    {"0xg", 0, 2},
    {"0x0x5", 5, 5},
    {"0x0X", 0, 4},
    {"0x-1", 0, 2},
    {"0x10000000000000001", 1, 19},
    // binary
    {"0b101", 5, 5},
    {"0B101", 5, 5},
    {"0b1,0,1", 5, 7},
    {"0b1,,1,", 3, 7},
    {"0b,1", 1, 4},
    {"0b12", 1, 3},
    {"0b", 0, 2},
    {"0b0b11", 3, 6},
    // octal
    {"017", 15, 3},
    {"08", 0, 1},
    {"019", 1, 2},
    {"0,1", 0, 1},
    {"07777777777777777777777", UINT64_MAX, 23},
    // nothing read, or only white space consumed
    {"", 0, 0},
    {"   ", 0, 0},
    {"x", 0, 0},
    {"-5", 0, 0},
    {",1", 0, 0},
    {"  x", 0, 2},
};

INSTANTIATE_TEST_SUITE_P(Cases, IntegerReader, testing::ValuesIn(integer_cases));

TEST(IntegerReader, EndIsOptional) {
    EXPECT_EQ(bytesmith::read_integer("0x2a", nullptr), 42u);
}

// A run of digits in some base followed by a stop character, and the value
// it has when taken one digit at a time modulo 2 to the 64th.
struct DigitRun {
    std::string text;
    std::uint64_t value;
    std::size_t digits;
};

// Runs of every length from 1 to 31 followed by every kind of stop: the
// characters beside the digit ranges, high bytes and the zero byte. Digits
// follow the stop, and more than sixteen of them, so that a reader looking
// past the stop would be seen to.
DigitRun random_run(std::mt19937_64& rng, unsigned base) {
    static const char digits[] = "0123456789abcdef0123456789ABCDEF";
    static const char stops[] = {'\0', ' ', ',',    '/',    ':',    '@',    'G',   '`',
                                 'g',  'x', '\x80', '\xb9', '\xc1', '\xe6', '\xff'};
    DigitRun run{"", 0, 1 + rng() % 31};
    for (std::size_t i = 0; i < run.digits; ++i) {
        auto d = static_cast<unsigned>(rng() % base);
        if (i == 0 && base == 10 && d == 0) {
            d = 1; // a leading zero would make it octal
        }
        run.text += digits[d + (base == 16 ? 16 * (rng() % 2) : 0)];
        run.value = run.value * base + d;
    }
    run.text += stops[rng() % sizeof stops]; // a digit in neither base
    run.text += "12345678901234567890";
    return run;
}

std::uint64_t read_with_integer_reader(const unsigned char* p, const unsigned char** end) {
    const char* stop = nullptr;
    std::uint64_t v = bytesmith::read_integer(reinterpret_cast<const char*>(p), &stop);
    *end = reinterpret_cast<const unsigned char*>(stop);
    return v;
}

std::uint64_t read_with_padded_decimal(const unsigned char* p, const unsigned char** end) {
    std::uint64_t v = 0;
    *end = bytesmith::read_decimal_padded(p, p + std::strlen(reinterpret_cast<const char*>(p)) + 1,
                                          &v);
    return v;
}

std::uint64_t read_with_padded_hex(const unsigned char* p, const unsigned char** end) {
    std::uint64_t v = 0;
    *end = bytesmith::read_hex_padded(p, &v);
    return v;
}

struct RunReader {
    const char* name;
    unsigned base;
    std::uint64_t (*read)(const unsigned char*, const unsigned char**);
};

class DigitRuns : public testing::TestWithParam<RunReader> {};

TEST_P(DigitRuns, MatchTheDigitByDigitRule) {
    const RunReader& reader = GetParam();
    std::mt19937_64 rng(8);
    for (int i = 0; i < 100000; ++i) {
        DigitRun run = random_run(rng, reader.base);
        auto p = reinterpret_cast<const unsigned char*>(run.text.c_str());
        const unsigned char* end = nullptr;
        ASSERT_EQ(reader.read(p, &end), run.value) << run.text;
        ASSERT_EQ(static_cast<std::size_t>(end - p), run.digits) << run.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, DigitRuns,
                         testing::Values(RunReader{"integer", 10, read_with_integer_reader},
                                         RunReader{"decimal_padded", 10, read_with_padded_decimal},
                                         RunReader{"hex_padded", 16, read_with_padded_hex}),
                         [](const testing::TestParamInfo<RunReader>& info) {
                             return std::string(info.param.name);
                         });

TEST(HexDigitMask, MatchesThePlainLoop) {
    std::mt19937_64 rng(17);
    const char alphabet[] = {'/', '0', '9', ':',  '@',    'A',    'F',    'G',    '`',
                             'a', 'f', 'g', '\0', '\x80', '\xb0', '\xc1', '\xe6', '\xff'};
    for (int i = 0; i < 20000; ++i) {
        bytesmith::Block b;
        for (unsigned char& c : b.bytes) {
            c = static_cast<unsigned char>(alphabet[rng() % sizeof alphabet]);
        }
        ASSERT_EQ(bytesmith::hex_digit_mask(b), bytesmith::hex_digit_mask_portable(b));
    }
}

// With a limit, the reader still stops at the zero byte, whatever digits
// lie between it and the limit.
TEST(IntegerReader, StopsAtTheZeroByteBeforeTheLimit) {
    const char text[] = "12\0"
                        "3456789012345";
    const char* end = nullptr;
    EXPECT_EQ(bytesmith::read_integer(text, text + sizeof text, &end), 12u);
    EXPECT_EQ(end, text + 2);
}

std::uint64_t bits_of(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

struct DecimalCase {
    std::string text;
    std::uint64_t bits;
    std::size_t consumed;
};

class DecimalReader : public testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalReader, GivesTheFormatsBitPattern) {
    const DecimalCase& c = GetParam();
    const char* end = nullptr;
    double value = bytesmith::strtod(c.text.c_str(), &end);
    EXPECT_EQ(bits_of(value), c.bits) << c.text << " read as " << value;
    EXPECT_EQ(static_cast<std::size_t>(end - c.text.c_str()), c.consumed) << c.text;
}

constexpr std::uint64_t positive_infinity = 0x7FF0000000000000;
constexpr std::uint64_t negative_zero = 0x8000000000000000;
constexpr std::uint64_t processor_nan = 0xFFF8000000000000; // zero times infinity on x86-64

const DecimalCase decimal_cases[] = {
    {"1.5", 0x3FF8000000000000, 3},
    {"-2.25", 0xC002000000000000, 5},
    {"3.", 0x4008000000000000, 2},
    // the accumulation rule, not the nearest double
    {"0.3", 0x3FD3333333333334, 3},
    {"0.6", 0x3FE3333333333334, 3},
    {"0.7", 0x3FE6666666666667, 3},
    {"3.14159", 0x400921F9F01B866F, 7},
    {"0.1", 0x3FB999999999999A, 3},
    {"0.2", 0x3FC999999999999A, 3},
    {"1.1", 0x3FF199999999999A, 3},
    {"2.675", 0x4005666666666666, 5},
    {"12345678901234567890", 0x43E56A95319D63E2, 20},
    {"2.2250738585072014e-308", 0x0010000000000001, 23},
    // exponent markers and their stop points
    {"1e3", 0x408F400000000000, 3},
    {"1E3", 0x408F400000000000, 3},
    {"1d3", 0x408F400000000000, 3},
    {"1D3", 0x408F400000000000, 3},
    {"1e+3", 0x408F400000000000, 4},
    {"1e-3", 0x3F50624DD2F1A9FC, 4},
    {"1e", 0x3FF0000000000000, 1},
    {"1e+", 0x3FF0000000000000, 1},
    {"1ex", 0x3FF0000000000000, 1},
    {"2.5e2x", 0x406F400000000000, 5},
    {"1..5", 0x3FF0000000000000, 2},
    {"1,5", 0x3FF0000000000000, 1},
    // signs and zeros
    {"-", negative_zero, 1},
    {"-x", negative_zero, 1},
    {"-.5", 0xBFE0000000000000, 3},
    {"-e5", negative_zero, 3},
    {"0", 0, 1},
    {"-0", negative_zero, 2},
    // out of range
    {"1e400", positive_infinity, 5},
    {"1e-400", 0, 6},
    {"1.7976931348623157e308", positive_infinity, 22},
    {"5e-324", 0, 6},
    // zero times an infinite power, an infinite mantissa times a zero one:
    // the same NaN whatever the signs
    {"0e400", processor_nan, 5},
    {"-0e400", processor_nan, 6},
    {"0e2147483647", processor_nan, 12},
    {"1" + std::string(400, '0') + "e-400", processor_nan, 406},
    {"-" + std::string(320, '9') + ".5e-999", processor_nan, 328},
    // the exponent wraps in 32 bits
    {"1e4294967297", 0x4024000000000000, 12},
    {"1e2147483648", 0, 12},
};

INSTANTIATE_TEST_SUITE_P(Cases, DecimalReader, testing::ValuesIn(decimal_cases));

// Random decimal texts: digit runs of every length up to 40, so that the
// integer part passes 2 to the 53rd, with and without fraction and exponent.
std::string random_decimal(std::mt19937_64& rng) {
    auto digits = [&](std::size_t n) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i) {
            s += static_cast<char>('0' + rng() % 10);
        }
        return s;
    };
    std::string s = rng() % 4 == 0 ? "-" : "";
    s += digits(rng() % 41);
    if (rng() % 2) {
        s += '.';
        s += digits(rng() % 25);
    }
    if (rng() % 3 == 0) {
        s += "eEdD"[rng() % 4];
        s += rng() % 2 ? "-" : "";
        s += digits(rng() % 4);
    }
    return s;
}

TEST(DecimalReader, MatchesTheStepByStepRuleOnRandomTexts) {
    std::mt19937_64 rng(20261209);
    for (int i = 0; i < 200000; ++i) {
        std::string s = random_decimal(rng);
        if (s.empty()) {
            continue;
        }
        const char* want_end = nullptr;
        const char* got_end = nullptr;
        std::uint64_t want = bits_of(reference_strtod(s.c_str(), &want_end));
        std::uint64_t got = bits_of(bytesmith::strtod(s.c_str(), &got_end));
        ASSERT_EQ(got, want) << s;
        ASSERT_EQ(got_end, want_end) << s;
    }
}

TEST(DecimalReader, MatchesTheStepByStepRuleAroundTwoToThe53rd) {
    // 2^53 = 9007199254740992: integers beside it, with 15, 16 and 17 digits.
    for (std::uint64_t base : {999999999999999ull, 9007199254740992ull, 90071992547409920ull}) {
        for (std::uint64_t v = base - 50; v <= base + 50; ++v) {
            std::string s = std::to_string(v);
            const char* end = nullptr;
            ASSERT_EQ(bits_of(bytesmith::strtod(s.c_str(), &end)),
                      bits_of(reference_strtod(s.c_str(), &end)))
                << s;
        }
    }
}

TEST(DecimalReader, ScalesByTheSamePowerOfTenEverywhere) {
    std::vector<std::int64_t> exponents{INT32_MIN, INT32_MIN + 1, -100000, INT32_MAX, 100000};
    for (int e = -400; e <= 400; ++e) {
        exponents.push_back(e);
    }
    for (std::int64_t e : exponents) {
        std::string s = "3e" + std::to_string(e);
        double power = reference_power_of_ten(static_cast<std::int32_t>(e));
        ASSERT_EQ(bits_of(bytesmith::strtod(s.c_str(), nullptr)), bits_of(3.0 * power)) << s;
        s[0] = '1';
        ASSERT_EQ(bits_of(bytesmith::strtod(s.c_str(), nullptr)), bits_of(power)) << s;
    }
}

TEST(DecimalReader, LeavesTheLibraryRoutineIntact) {
    // The C library's strtod is correctly rounded; ours is not.
    EXPECT_EQ(bits_of(std::strtod("0.3", nullptr)), 0x3FD3333333333333u);
}

} // namespace
