// The round trip of bytesmith-dump, in both its forms: any bytes, described
// and translated back line by line, must come back unchanged, and a
// description written in two pieces must equal the one written at once
// (pieces of whole lines for the offset form, a cut anywhere for the line
// form, whose undescribed rest goes on into the second piece).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "driver/line.hpp"
#include "dump/dump.hpp"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "round trip: %s\n", what);
    std::abort();
}

bool same(const bytesmith::ByteSink& a, const bytesmith::ByteSink& b) {
    return a.size() == b.size() && (a.size() == 0 || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

// Translates the description back line by line, checking that it holds
// printable ASCII and TABs only and no numeric line.
void translate_back(const bytesmith::ByteSink& description, bytesmith::ByteSink& bytes) {
    std::vector<char> line;
    const auto* text = reinterpret_cast<const char*>(description.data());
    std::size_t left = description.size();
    while (left > 0) {
        const auto* nl = static_cast<const char*>(std::memchr(text, '\n', left));
        if (nl == nullptr) {
            fail("line without a newline");
        }
        std::size_t len = static_cast<std::size_t>(nl - text);
        for (std::size_t i = 0; i < len; ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if ((c < 0x20 || c > 0x7E) && c != '\t') {
                fail("character outside printable ASCII");
            }
        }
        line.assign(text, nl);
        line.resize(len + 1 + bytesmith::line_padding);
        if (translate_line(line.data(), len, bytes).status != bytesmith::NumericStatus::done) {
            fail("line read as a numeric line");
        }
        text = nl + 1;
        left -= len + 1;
    }
}

void expect_bytes(const bytesmith::ByteSink& description, const std::uint8_t* data,
                  std::size_t size) {
    bytesmith::ByteSink bytes;
    translate_back(description, bytes);
    if (bytes.size() != size || (size > 0 && std::memcmp(bytes.data(), data, size) != 0)) {
        fail("bytes differ");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bytesmith::ByteSink description;
    bytesmith::dump_bytes(data, size, 0, description);
    bytesmith::ByteSink pieces;
    std::size_t cut = size / 2 - size / 2 % bytesmith::dump_line_bytes;
    bytesmith::dump_bytes(data, cut, 0, pieces);
    bytesmith::dump_bytes(data + cut, size - cut, cut, pieces);
    if (!same(pieces, description)) {
        fail("pieces differ from the whole");
    }
    expect_bytes(description, data, size);

    bytesmith::ByteSink lines;
    if (bytesmith::dump_lines(data, size, true, lines) != size) {
        fail("line form left bytes undescribed at the end");
    }
    bytesmith::ByteSink line_pieces;
    // The first byte, when there is one, chooses the cut.
    cut = size == 0 ? 0 : data[0] % (size + 1);
    std::size_t done = bytesmith::dump_lines(data, cut, false, line_pieces);
    bytesmith::dump_lines(data + done, size - done, true, line_pieces);
    if (!same(line_pieces, lines)) {
        fail("line form pieces differ from the whole");
    }
    expect_bytes(lines, data, size);
    return 0;
}
