// The output: the translators' sink, drained with write(2) in large chunks
// to standard output or to a file named on the command line, which is
// replaced only when all went well (see output_file.hpp).
#pragma once

#include <cstddef>
#include <unistd.h>

#include "cli/output_file.hpp"
#include "common/byte_sink.hpp"

namespace bytesmith {

class Output {
  public:
    // Standard output, until open names a file.
    Output() = default;

    // Makes the file at path the output.
    FileFailure open(const char* path);

    // The output as messages name it: standard output, or the file's name.
    const char* name() const { return name_; }

    ByteSink& sink() { return sink_; }

    // Drains once enough bytes are pending to make a write worth its cost.
    // Returns 0, or the errno of a failed write.
    int drain_if_full() { return sink_.size() >= chunk_size ? drain() : 0; }

    // Writes every pending byte, across short writes and interruptions.
    // Returns 0, or the errno of a failed write.
    int drain();

    // Puts a drained file in place; standard output needs nothing. A file
    // neither committed nor put in place is removed when the output goes.
    FileFailure commit() { return file_.commit(); }

  private:
    static constexpr std::size_t chunk_size = std::size_t{128} * 1024;
    int fd_ = STDOUT_FILENO;
    const char* name_ = "standard output";
    ByteSink sink_;
    OutputFile file_;
};

} // namespace bytesmith
