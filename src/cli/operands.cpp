#include "cli/operands.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace bytesmith {
namespace {

int report_write_failure(const char* program, int err) {
    std::fprintf(stderr, "%s: failed to write standard output: %s\n", program, std::strerror(err));
    return 1;
}

} // namespace

int process_operands(int argc, char** argv, const char* program, Output& out,
                     const std::function<InputResult(int fd)>& process,
                     const std::function<void()>& finish) {
    bool failed = false;
    // Processes one input; returns false when the process must end at once.
    auto process_one = [&](int fd, const char* name, int* status) {
        InputResult result = process(fd);
        switch (result.status) {
        case InputStatus::done:
            return true;
        case InputStatus::read_error:
            std::fprintf(stderr, "%s: failed to read %s: %s\n", program, name,
                         std::strerror(result.error));
            failed = true;
            return true;
        case InputStatus::write_error:
            *status = report_write_failure(program, result.error);
            return false;
        case InputStatus::stop:
            *status = 1;
            return false;
        }
        return true;
    };
    int status = 0;
    if (argc < 2 && !process_one(STDIN_FILENO, "standard input", &status)) {
        return status;
    }
    for (int i = 1; i < argc; ++i) {
        int fd = open(argv[i], O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            std::fprintf(stderr, "%s: failed to open %s: %s\n", program, argv[i],
                         std::strerror(errno));
            failed = true;
            continue;
        }
        bool go_on = process_one(fd, argv[i], &status);
        close(fd);
        if (!go_on) {
            return status;
        }
    }
    if (finish) {
        finish();
    }
    if (int err = out.drain()) {
        return report_write_failure(program, err);
    }
    return failed ? 1 : 0;
}

} // namespace bytesmith
