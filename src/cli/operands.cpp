#include "cli/operands.hpp"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "cli/messages.hpp"

namespace bytesmith {

int process_operands(std::span<char* const> operands, const char* program, Output& out,
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
            report_failure(program, "read", name, result.error);
            failed = true;
            return true;
        case InputStatus::write_error:
            report_failure(program, "write", out.name(), result.error);
            *status = 1;
            return false;
        case InputStatus::stop:
            *status = 1;
            return false;
        }
        return true;
    };
    int status = 0;
    if (operands.empty() && !process_one(STDIN_FILENO, "standard input", &status)) {
        return status;
    }
    for (const char* operand : operands) {
        int fd = open(operand, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            report_failure(program, "open", operand, errno);
            failed = true;
            continue;
        }
        bool go_on = process_one(fd, operand, &status);
        close(fd);
        if (!go_on) {
            return status;
        }
    }
    if (finish) {
        finish();
    }
    if (int err = out.drain()) {
        report_failure(program, "write", out.name(), err);
        return 1;
    }
    return failed ? 1 : 0;
}

} // namespace bytesmith
