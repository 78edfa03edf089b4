// bytesmith-dump: writes a description of its input that bytesmith turns
// back into exactly the same bytes.
//
// Standard input is described, or the files named as operands, read one
// after the other as one input: offsets run on and lines go on from file to
// file, so the description is that of the bytes in their concatenation. A
// file that cannot be opened or read is reported and skipped, and the exit
// status is then 1 at the end; a failed write ends the process at once with
// status 1.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <unistd.h>

#include "cli/command.hpp"
#include "cli/input.hpp"
#include "dump/dump.hpp"

namespace {

const char* program = "bytesmith-dump";

constexpr bytesmith::Option lines_option{
    bytesmith::OptionName::lines, 'l', "lines", nullptr,
    "a line per input line (64 bytes at most), with no offset"};

constexpr bytesmith::Option options[] = {lines_option, bytesmith::output_option,
                                         bytesmith::help_option, bytesmith::version_option};

constexpr bytesmith::Program about{
    "bytesmith-dump",
    "Describe the bytes of the FILEs, read as one input, or of standard input, in\n"
    "lines that bytesmith turns back into exactly those bytes.\n",
    options,
    "Without -l, a line describes 16 bytes and is labelled with their offset.\n"
    "The format is described in bytesmith(5): man 5 bytesmith\n",
};

// Input is read in blocks of whole lines; a block starts with the bytes
// held over from the read before, fewer than a line, which wait for the
// rest of their line.
constexpr std::size_t block_size = std::size_t{64} * 1024;
static_assert(block_size % bytesmith::dump_line_bytes == 0);
static_assert(block_size > bytesmith::dump_line_form_bytes);

using bytesmith::InputResult;
using bytesmith::InputStatus;

class Dumper {
  public:
    Dumper(bytesmith::Output& out, bool line_form)
        : out_(out), line_form_(line_form), block_(new unsigned char[block_size]) {}

    // Describes every whole line that fd completes.
    InputResult dump(int fd);

    // Describes the bytes still held, the last, shorter line.
    void finish() { describe(true); }

  private:
    // Describes the held bytes that make whole lines, or all of them at the
    // end, and keeps the rest at the front of the block.
    void describe(bool at_end);

    bytesmith::Output& out_;
    const bool line_form_;
    std::unique_ptr<unsigned char[]> block_;
    std::size_t held_ = 0;     // bytes at the front of the block
    std::uint64_t offset_ = 0; // of the first of them in the whole input
};

void Dumper::describe(bool at_end) {
    std::size_t done = 0;
    if (line_form_) {
        done = bytesmith::dump_lines(block_.get(), held_, at_end, out_.sink());
    } else {
        done = at_end ? held_ : held_ - held_ % bytesmith::dump_line_bytes;
        bytesmith::dump_bytes(block_.get(), done, offset_, out_.sink());
    }
    offset_ += done;
    held_ -= done;
    std::memmove(block_.get(), block_.get() + done, held_);
}

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
        held_ += static_cast<std::size_t>(n);
        describe(false);
        if (int err = out_.drain_if_full()) {
            return {InputStatus::write_error, err};
        }
    }
}

int run(int argc, char** argv) {
    bytesmith::Command command(program, about);
    if (std::optional<int> status = command.start(argc, argv)) {
        return *status;
    }
    Dumper dumper(command.output(), command.options().lines);
    return command.run([&](int fd) { return dumper.dump(fd); }, [&] { dumper.finish(); });
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
