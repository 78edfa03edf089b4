// bytesmith-dump: writes a description of its input that bytesmith turns
// back into exactly the same bytes.
//
// Standard input is described, or the files named as operands, read one
// after the other as one input: offsets run on from file to file, so the
// description is that of the bytes in their concatenation. A file that
// cannot be opened or read is reported and skipped, and the exit status is
// then 1 at the end; a failed write to standard output ends the process at
// once with status 1.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <unistd.h>

#include "cli/input.hpp"
#include "cli/operands.hpp"
#include "cli/output.hpp"
#include "dump/dump.hpp"

namespace {

const char* program = "bytesmith-dump";

// Input is read in blocks of whole lines; a block holds at most 15 bytes
// held over from the read before, which wait for the rest of their line.
constexpr std::size_t block_size = std::size_t{64} * 1024;
static_assert(block_size % bytesmith::dump_line_bytes == 0);

using bytesmith::InputResult;
using bytesmith::InputStatus;

class Dumper {
  public:
    explicit Dumper(bytesmith::Output& out) : out_(out), block_(new unsigned char[block_size]) {}

    // Describes every whole line that fd completes.
    InputResult dump(int fd);

    // Describes the bytes still held, the last, shorter line.
    void finish() {
        bytesmith::dump_bytes(block_.get(), held_, offset_, out_.sink());
        offset_ += held_;
        held_ = 0;
    }

  private:
    bytesmith::Output& out_;
    std::unique_ptr<unsigned char[]> block_;
    std::size_t held_ = 0;     // bytes at the front of the block
    std::uint64_t offset_ = 0; // of the first of them in the whole input
};

InputResult Dumper::dump(int fd) {
    // Before waiting on a pipe or terminal, let what is done go out.
    const bool live = !bytesmith::is_regular_file(fd);
    for (;;) {
        if (live) {
            if (int err = out_.drain()) {
                return {InputStatus::write_error, err};
            }
        }
        ssize_t n = bytesmith::read_some(fd, block_.get() + held_, block_size - held_);
        if (n < 0) {
            return {InputStatus::read_error, errno};
        }
        if (n == 0) {
            return {InputStatus::done, 0};
        }
        std::size_t filled = held_ + static_cast<std::size_t>(n);
        std::size_t whole = filled - filled % bytesmith::dump_line_bytes;
        bytesmith::dump_bytes(block_.get(), whole, offset_, out_.sink());
        offset_ += whole;
        held_ = filled - whole;
        std::memmove(block_.get(), block_.get() + whole, held_);
        if (int err = out_.drain_if_full()) {
            return {InputStatus::write_error, err};
        }
    }
}

int run(int argc, char** argv) {
    bytesmith::Output out(STDOUT_FILENO);
    Dumper dumper(out);
    return bytesmith::process_operands(
        argc, argv, program, out, [&](int fd) { return dumper.dump(fd); },
        [&] { dumper.finish(); });
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 0 && argv[0] != nullptr) {
        program = argv[0]; // used unchanged in every message
    }
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: out of memory\n", program);
        return 1;
    }
}
