// bytesmith: turns a line-oriented text description of bytes into the bytes.
//
// Standard input is translated, or each file operand in turn. A file that
// cannot be opened or read is reported and skipped, and the exit status is
// then 1 at the end; invalid input in a numeric line or a failed write ends
// the process at once with status 1.

#include <cstdio>
#include <new>

#include "cli/command.hpp"
#include "driver/stream.hpp"

namespace {

const char* program = "bytesmith";

constexpr bytesmith::Option options[] = {bytesmith::output_option, bytesmith::help_option,
                                         bytesmith::version_option};

constexpr bytesmith::Program about{
    "bytesmith",
    "Write the bytes that the lines of each FILE, or of standard input, describe.\n",
    options,
    "A line is a label up to its last TAB, then text with ^ and \\ escapes, or\n"
    "numbers after \\#. The format is described in bytesmith(5): man 5 bytesmith\n",
};

int run(int argc, char** argv) {
    bytesmith::Command command(program, about);
    if (std::optional<int> status = command.start(argc, argv)) {
        return *status;
    }
    bytesmith::Output& out = command.output();
    auto translate = [&](int fd) -> bytesmith::InputResult {
        bytesmith::StreamResult result = bytesmith::translate_stream(fd, out, program);
        switch (result.status) {
        case bytesmith::StreamStatus::done:
            return {bytesmith::InputStatus::done, 0};
        case bytesmith::StreamStatus::read_error:
            return {bytesmith::InputStatus::read_error, result.error};
        case bytesmith::StreamStatus::write_error:
            return {bytesmith::InputStatus::write_error, result.error};
        case bytesmith::StreamStatus::invalid_input:
            // Already reported; the bytes translated so far still go out.
            if (int err = out.drain()) {
                return {bytesmith::InputStatus::write_error, err};
            }
            return {bytesmith::InputStatus::stop, 0};
        }
        return {bytesmith::InputStatus::done, 0};
    };
    return command.run(translate);
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
