// Standard output: the translators' sink, drained to a file descriptor with
// write(2) in large chunks.
#pragma once

#include <cstddef>

#include "common/byte_sink.hpp"

namespace bytesmith {

class Output {
  public:
    explicit Output(int fd) : fd_(fd) {}

    ByteSink& sink() { return sink_; }

    // Drains once enough bytes are pending to make a write worth its cost.
    // Returns 0, or the errno of a failed write.
    int drain_if_full() { return sink_.size() >= chunk_size ? drain() : 0; }

    // Writes every pending byte, across short writes and interruptions.
    // Returns 0, or the errno of a failed write.
    int drain();

  private:
    static constexpr std::size_t chunk_size = std::size_t{128} * 1024;
    int fd_;
    ByteSink sink_;
};

} // namespace bytesmith
