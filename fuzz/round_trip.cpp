// The round trip of bytesmith-dump: any bytes, described and translated
// back line by line, must come back unchanged, and a description written in
// two pieces of whole lines must equal the one written at once.

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bytesmith::ByteSink description;
    bytesmith::dump_bytes(data, size, 0, description);

    bytesmith::ByteSink pieces;
    std::size_t cut = size / 2 - size / 2 % bytesmith::dump_line_bytes;
    bytesmith::dump_bytes(data, cut, 0, pieces);
    bytesmith::dump_bytes(data + cut, size - cut, cut, pieces);
    if (pieces.size() != description.size() ||
        std::memcmp(pieces.data(), description.data(), description.size()) != 0) {
        fail("pieces differ from the whole");
    }

    bytesmith::ByteSink bytes;
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
    if (bytes.size() != size || (size > 0 && std::memcmp(bytes.data(), data, size) != 0)) {
        fail("bytes differ");
    }
    return 0;
}
