// Reading an input descriptor, shared by both programs.
#pragma once

#include <cerrno>
#include <cstddef>
#include <sys/stat.h>
#include <unistd.h>

namespace bytesmith {

// Reads once into buf, retrying interrupted calls. Returns the count, or -1
// with errno set.
inline ssize_t read_some(int fd, void* buf, std::size_t size) {
    for (;;) {
        ssize_t n = read(fd, buf, size);
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

// A regular file is read in large blocks without waiting; anything else (a
// pipe, a terminal, a socket) may make a read wait for the producer.
inline bool is_regular_file(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace bytesmith
