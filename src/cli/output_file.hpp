// An output file that is replaced only when all went well.
//
// The bytes go to a new temporary file in the same folder, which is renamed
// over the file at the end, so that a build never sees half a file and a
// failed run leaves the old file as it was. The new file gets the mode that
// a shell redirection would give it: the old file's permission bits, or
// 0666 less the umask. A symbolic link keeps pointing where it did: its
// final target is replaced. A file that exists and is not a regular file
// (a device such as /dev/null, a FIFO, a terminal) is written directly.
//
// Nothing is synced to the disk: the file is as durable as one written
// through a redirection.
#pragma once

#include <string>
#include <sys/stat.h>

namespace bytesmith {

// Which step of making the file failed, for the message: creating it
// (or putting it in place) or writing it.
enum class FileStep { none, create, write };

struct FileFailure {
    FileStep step = FileStep::none;
    int error = 0; // errno
};

class OutputFile {
  public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { discard(); }

    // Opens the descriptor the bytes for path go to.
    FileFailure open(const char* path);
    int fd() const { return fd_; }
    // The temporary file the bytes go to; empty when they go to the file itself.
    const std::string& temporary() const { return temporary_; }

    // Closes the file and puts it in place.
    FileFailure commit();
    // Closes the file and removes the temporary one: the old file stays.
    void discard();

  private:
    // Opens a temporary file for target, whose old status is old, or null
    // when it does not exist.
    FileFailure open_temporary(const std::string& target, const struct stat* old);
    int fd_ = -1;
    std::string temporary_;
    std::string target_; // the file the temporary one replaces
};

} // namespace bytesmith
