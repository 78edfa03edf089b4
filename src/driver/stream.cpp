#include "driver/stream.hpp"

#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unistd.h>

#include "cli/input.hpp"
#include "common/byte_scan.hpp"
#include "driver/line.hpp"
#include "numeric/numeric.hpp"
#include "text/text.hpp"

namespace bytesmith {
namespace {

// Input is read in blocks this large; a line longer than the buffer makes
// it grow, so memory follows the longest line and lines are never cut.
constexpr std::size_t block_size = std::size_t{256} * 1024;

// A growable input buffer with one spare byte beyond its capacity, so that
// a last line without a newline can still be terminated in place, and the
// padding the translators may read past a line's end.
class LineBuffer {
  public:
    LineBuffer() : data_(allocate(nullptr, block_size)), capacity_(block_size) {}
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;
    ~LineBuffer() { std::free(data_); }

    char* data() { return data_; }
    std::size_t capacity() const { return capacity_; }
    // Gives the bytes after the first filled ones a known value, so that
    // reads past the last line never see memory nothing was written to.
    void clear_after(std::size_t filled) { std::memset(data_ + filled, 0, 1 + line_padding); }
    void grow() {
        data_ = allocate(data_, 2 * capacity_);
        capacity_ *= 2;
    }

  private:
    static char* allocate(char* old, std::size_t size) {
        void* p = std::realloc(old, size + 1 + line_padding);
        if (p == nullptr) {
            throw std::bad_alloc();
        }
        return static_cast<char*>(p);
    }

    char* data_;
    std::size_t capacity_;
};

// Translates one line and reports a numeric line's errors. Returns false
// when the line held invalid input.
bool translate_and_report(char* line, std::size_t len, std::uint64_t number, ByteSink& out,
                          const char* program) {
    NumericOutcome outcome = translate_line(line, len, out);
    switch (outcome.status) {
    case NumericStatus::done:
        return true;
    case NumericStatus::translation_error:
        std::fprintf(stderr,
                     "%s: Error while translating number on line %" PRIu64
                     "\n.Line ignored from `%s'\n",
                     program, number, outcome.where);
        return true;
    case NumericStatus::invalid_input:
        std::fprintf(stderr, "%s: Invalid input on line %" PRIu64 "\n", program, number);
        return false;
    }
    return true;
}

} // namespace

StreamResult translate_stream(int fd, Output& out, const char* program) {
    LineBuffer buf;
    const bool live = !is_regular_file(fd);
    std::size_t filled = 0;  // bytes in the buffer
    std::size_t scanned = 0; // of these, known to hold no newline
    std::uint64_t number = 1;
    for (;;) {
        // Translate every complete line in the buffer. Text lines, and most
        // numeric ones, are translated in the one pass that also finds their
        // end; other numeric lines, and a line already scanned in part before
        // this read, are cut at their newline first. That way no character
        // is decoded twice however a long line arrives.
        char* data = buf.data();
        std::size_t begin = 0;
        for (;;) {
            if (scanned == begin && begin < filled) {
                TextLine text = translate_text_line(data + begin, data + filled, out.sink());
                // The sink takes eight bytes for each character the line
                // may have, so only the first block's worth is tried.
                if (text.status == TextLineStatus::numeric && filled - begin <= block_size) {
                    const char* next =
                        translate_numbers_in_place(text.next + 2, data + filled, out.sink());
                    if (next != nullptr) {
                        text = {TextLineStatus::done, next};
                    }
                }
                if (text.status == TextLineStatus::incomplete) {
                    scanned = filled;
                    break;
                }
                if (text.status == TextLineStatus::done) {
                    ++number;
                    begin = static_cast<std::size_t>(text.next - data);
                    scanned = begin;
                    if (int err = out.drain_if_full()) {
                        return {StreamStatus::write_error, err};
                    }
                    continue;
                }
            }
            char* nl = static_cast<char*>(std::memchr(data + scanned, '\n', filled - scanned));
            if (nl == nullptr) {
                scanned = filled;
                break;
            }
            std::size_t len = static_cast<std::size_t>(nl - (data + begin));
            if (!translate_and_report(data + begin, len, number++, out.sink(), program)) {
                return {StreamStatus::invalid_input, 0};
            }
            begin += len + 1;
            scanned = begin;
            if (int err = out.drain_if_full()) {
                return {StreamStatus::write_error, err};
            }
        }
        // Keep the unfinished line at the front and make room after it.
        std::memmove(data, data + begin, filled - begin);
        filled -= begin;
        scanned = filled;
        if (filled == buf.capacity()) {
            buf.grow();
        }
        // Before waiting on a pipe or terminal, let what is done go out, so
        // that a pipeline streams line by line.
        if (live) {
            if (int err = out.drain()) {
                return {StreamStatus::write_error, err};
            }
        }
        ssize_t n = read_some(fd, buf.data() + filled, buf.capacity() - filled);
        if (n < 0) {
            return {StreamStatus::read_error, errno};
        }
        if (n == 0) {
            break;
        }
        filled += static_cast<std::size_t>(n);
        buf.clear_after(filled);
    }
    // A last line without a newline is translated like any other.
    if (filled > 0 && !translate_and_report(buf.data(), filled, number, out.sink(), program)) {
        return {StreamStatus::invalid_input, 0};
    }
    return {StreamStatus::done, 0};
}

} // namespace bytesmith
