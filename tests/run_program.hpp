// Runs the built program as a separate process, for what only the whole
// process shows: operands, exit status, standard error. In a cross build the
// program starts through the emulator that runs the tests themselves.
#pragma once

#include <string>
#include <vector>

namespace bytesmith_test {

struct Result {
    std::string out;
    std::string err;
    int status = -1; // exit status, or 128 + signal number
};

struct Redirect {
    std::string stdout_path;   // standard output goes here instead of into Result::out
    bool close_stdout = false; // the program starts with standard output closed
};

// Runs the program with the operands and input on standard input.
Result run_program(const std::vector<std::string>& operands, const std::string& input,
                   const Redirect& redirect = {});

// The same for the program at path.
Result run_any(const std::string& path, const std::vector<std::string>& operands,
               const std::string& input, const Redirect& redirect = {});

// A file holding contents, removed when the object goes.
class TempFile {
  public:
    explicit TempFile(const std::string& contents);
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile();
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// A program started with a pipe on its standard input, for what happens
// while it runs: signals, and the files it has open.
class Running {
  public:
    Running(const std::string& program, const std::vector<std::string>& operands);
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    ~Running();

    void signal(int sig);
    // Closes its standard input and waits for its end.
    Result wait();

  private:
    int pid_ = -1;
    int input_ = -1; // the pipe's writing end
    TempFile out_{""};
    TempFile err_{""};
};

std::string read_file(const std::string& path);

// Lower-case hexadecimal of bytes, two digits a byte, blank-separated.
std::string hex(const std::string& bytes);

} // namespace bytesmith_test
