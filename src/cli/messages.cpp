#include "cli/messages.hpp"

#include <cstdio>
#include <cstring>

namespace bytesmith {

void report_failure(const char* program, const char* action, const char* name, int error) {
    std::fprintf(stderr, "%s: failed to %s %s: %s\n", program, action, name, std::strerror(error));
}

} // namespace bytesmith
