#include <bit>
#include <cstdint>
#include <limits>

#include "common/char_class.hpp"
#include "readers/powers_of_ten.hpp"
#include "readers/readers.hpp"

namespace bytesmith {
namespace {

using Cursor = const unsigned char*;

// Up to this many integer digits the running sum stays below 2 to the 53rd,
// where every double step sum * 10.0 + d is exact; an integer accumulator
// then gives the identical double, faster.
constexpr int exact_integer_digits = 15;

// Integer part: sum = sum * 10.0 + d for each digit, in double arithmetic.
Cursor read_integer_part(Cursor p, double* sum) {
    std::uint64_t exact = 0;
    int count = 0;
    for (; count < exact_integer_digits && is_digit(*p); ++p, ++count) {
        exact = exact * 10 + (*p - '0');
    }
    double s = static_cast<double>(exact);
    for (; is_digit(*p); ++p) {
        s = s * 10.0 + (*p - '0');
    }
    *sum = s;
    return p;
}

// Fraction digits: sum = d * w + sum, with the weight w starting at 0.1 and
// multiplied by 0.1 after every digit (not 10 to the power -k).
Cursor read_fraction(Cursor p, double* sum) {
    double s = *sum;
    double w = 0.1;
    for (; is_digit(*p); ++p) {
        s = (*p - '0') * w + s;
        w = w * 0.1;
    }
    *sum = s;
    return p;
}

// An exponent part after the marker at p: an optional sign and at least one
// digit. Returns p itself when there is none, so the marker stays unread.
// The value wraps in 32 bits, accumulated unsigned to stay defined.
Cursor read_exponent(Cursor p, std::int32_t* exponent) {
    Cursor q = p + 1;
    bool negative = false;
    if (*q == '+' || *q == '-') {
        negative = *q == '-';
        ++q;
    }
    if (!is_digit(*q)) {
        return p;
    }
    std::uint32_t x = 0;
    for (; is_digit(*q); ++q) {
        x = x * 10u + static_cast<std::uint32_t>(*q - '0');
    }
    if (negative) {
        x = 0u - x;
    }
    *exponent = static_cast<std::int32_t>(x); // modular since C++20
    return q;
}

bool is_exponent_marker(unsigned char c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// The power of ten an exponent scales by: from the table inside its range,
// zero below it and infinity above.
double ten_to_the(std::int32_t e) {
    if (e < lowest_tabled_exponent) {
        return 0.0;
    }
    if (e > highest_tabled_exponent) {
        return std::numeric_limits<double>::infinity();
    }
    return tabled_powers_of_ten[e - lowest_tabled_exponent];
}

// Zero times infinity, the one way a NaN arises here, gives a NaN whose sign
// differs between processors; descriptions get x86-64's on every machine.
double same_nan_everywhere(double result) {
    return result != result ? std::bit_cast<double>(nan_bits) : result;
}

} // namespace

double strtod(const char* text, const char** end) {
    auto p = reinterpret_cast<Cursor>(text);
    double sign = 1.0;
    if (*p == '-') {
        sign = -1.0;
        ++p;
    }
    double sum = 0.0;
    p = read_integer_part(p, &sum);
    if (*p == '.') {
        ++p;
        p = read_fraction(p, &sum);
    }
    // The sign multiplication always happens, so "-" alone gives -0.0.
    double result = sign * sum;
    if (is_exponent_marker(*p)) {
        std::int32_t exponent = 0;
        Cursor after = read_exponent(p, &exponent);
        if (after != p) {
            result = same_nan_everywhere(result * ten_to_the(exponent));
            p = after;
        }
    }
    if (end != nullptr) {
        *end = reinterpret_cast<const char*>(p);
    }
    return result;
}

} // namespace bytesmith
