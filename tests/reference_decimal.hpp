// The decimal reader's rule written out one step at a time, with none of the
// reader's shortcuts, for the tests and the fuzz target to hold it against.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "readers/readers.hpp"

namespace bytesmith_test {

// The power of ten an exponent scales by, the same on every machine: the
// correctly rounded one, which the C library's strtod reads from "1e<e>",
// except for two exponents where it is one unit in the last place above.
// Those are the values stored descriptions were made with.
inline double reference_power_of_ten(std::int32_t e) {
    if (e == 23) {
        return std::bit_cast<double>(std::uint64_t{0x44B52D02C7E14AF7});
    }
    if (e == 210) {
        return std::bit_cast<double>(std::uint64_t{0x6B88557F31326BBC});
    }
    return std::strtod(("1e" + std::to_string(e)).c_str(), nullptr);
}

// Every digit taken in double arithmetic, in order; the exponent wraps in
// 32 bits; a NaN is always the one of bytesmith::nan_bits.
inline double reference_strtod(const char* text, const char** end) {
    auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
    const char* p = text;
    double sign = 1.0;
    if (*p == '-') {
        sign = -1.0;
        ++p;
    }
    double sum = 0.0;
    for (; is_digit(*p); ++p) {
        sum = sum * 10.0 + (*p - '0');
    }
    if (*p == '.') {
        ++p;
        double w = 0.1;
        for (; is_digit(*p); ++p) {
            sum = (*p - '0') * w + sum;
            w = w * 0.1;
        }
    }
    double result = sign * sum;
    if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
        const char* q = p + 1;
        bool negative = false;
        if (*q == '+' || *q == '-') {
            negative = *q++ == '-';
        }
        if (is_digit(*q)) {
            std::uint32_t x = 0;
            for (; is_digit(*q); ++q) {
                x = x * 10u + static_cast<std::uint32_t>(*q - '0');
            }
            auto e = static_cast<std::int32_t>(negative ? 0u - x : x);
            result = result * reference_power_of_ten(e);
            if (result != result) {
                result = std::bit_cast<double>(bytesmith::nan_bits);
            }
            p = q;
        }
    }
    *end = p;
    return result;
}

} // namespace bytesmith_test
