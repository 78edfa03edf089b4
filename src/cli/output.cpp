#include "cli/output.hpp"

#include <cerrno>
#include <unistd.h>

namespace bytesmith {

FileFailure Output::open(const char* path) {
    FileFailure failure = file_.open(path);
    if (failure.step == FileStep::none) {
        fd_ = file_.fd();
    }
    name_ = path;
    return failure;
}

int Output::drain() {
    const unsigned char* p = sink_.data();
    std::size_t left = sink_.size();
    while (left > 0) {
        ssize_t n = write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return EIO; // a write that makes no progress would loop forever
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    sink_.clear();
    return 0;
}

} // namespace bytesmith
