// bytesmith: turns a line-oriented text description of bytes into the bytes.
//
// Standard input is translated, or each file operand in turn. A file that
// cannot be opened or read is reported and skipped, and the exit status is
// then 1 at the end; invalid input in a numeric line or a failed write to
// standard output ends the process at once with status 1.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <unistd.h>

#include "driver/output.hpp"
#include "driver/stream.hpp"

namespace {

const char* program = "bytesmith";

int report_write_failure(int err) {
    std::fprintf(stderr, "%s: failed to write standard output: %s\n", program, std::strerror(err));
    return 1;
}

// Translates one input. Returns true to go on with the next operand, false
// when the process must end at once; *failed records a skipped input.
bool translate_input(int fd, const char* name, bytesmith::Output& out, bool* failed, int* status) {
    bytesmith::StreamResult result = bytesmith::translate_stream(fd, out, program);
    switch (result.status) {
    case bytesmith::StreamStatus::done:
        return true;
    case bytesmith::StreamStatus::read_error:
        std::fprintf(stderr, "%s: failed to read %s: %s\n", program, name,
                     std::strerror(result.error));
        *failed = true;
        return true;
    case bytesmith::StreamStatus::write_error:
        *status = report_write_failure(result.error);
        return false;
    case bytesmith::StreamStatus::invalid_input: {
        // The bytes translated so far still go out.
        int err = out.drain();
        *status = err ? report_write_failure(err) : 1;
        return false;
    }
    }
    return true;
}

int run(int argc, char** argv) {
    bytesmith::Output out(STDOUT_FILENO);
    bool failed = false;
    int status = 0;
    if (argc < 2) {
        if (!translate_input(STDIN_FILENO, "standard input", out, &failed, &status)) {
            return status;
        }
    }
    for (int i = 1; i < argc; ++i) {
        int fd = open(argv[i], O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            std::fprintf(stderr, "%s: failed to open %s: %s\n", program, argv[i],
                         std::strerror(errno));
            failed = true;
            continue;
        }
        bool go_on = translate_input(fd, argv[i], out, &failed, &status);
        close(fd);
        if (!go_on) {
            return status;
        }
    }
    if (int err = out.drain()) {
        return report_write_failure(err);
    }
    return failed ? 1 : 0;
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
