// The command line of both programs: options, --help and --version, usage
// errors, the output and the operand loop.
//
// Exit status: 0 when all went well, 1 when an input or the output failed
// (or the program's own input was invalid), 2 for a usage error, which
// reads and writes nothing.
#pragma once

#include <functional>
#include <optional>
#include <span>

#include "cli/operands.hpp"
#include "cli/options.hpp"
#include "cli/output.hpp"

namespace bytesmith {

// What a program tells about itself in --help and --version.
struct Program {
    const char* name;    // as the help and version give it, whatever argv[0] is
    const char* summary; // the lines after the usage line
    std::span<const Option> options;
    const char* details; // the lines after the options
};

class Command {
  public:
    // program names the process in messages: argv[0], used unchanged.
    Command(const char* program, const Program& about) : program_(program), about_(about) {}

    // Reads the command line. Answers --help and --version, reports a usage
    // error, opens the output file; returns the exit status when that was
    // all there was to do.
    std::optional<int> start(int argc, char** argv);

    const Options& options() const { return options_; }
    Output& output() { return output_; }

    // The operand loop (see operands.hpp); then an output file is put in
    // place when the exit status is 0, and removed otherwise. Returns the
    // exit status.
    int run(const std::function<InputResult(int fd)>& process,
            const std::function<void()>& finish = {});

  private:
    int print(const std::string& text);
    const char* program_;
    const Program& about_;
    Options options_;
    Output output_;
    std::span<char* const> operands_;
};

} // namespace bytesmith
