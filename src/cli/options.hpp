// The options of both programs, read by the POSIX utility conventions:
// options come before the operands; "--" or the first operand ends them; a
// lone "-" is an operand. Short options may be grouped ("-lo FILE"), and an
// option's argument is the rest of its word or the next word ("-oFILE",
// "-o FILE", "--output=FILE", "--output FILE"). Long options are matched
// by their whole name only.
#pragma once

#include <span>
#include <string>

namespace bytesmith {

enum class OptionName { lines, output, help, version };

struct Option {
    OptionName name;
    char letter;          // the short form, or 0 for none
    const char* word;     // the long form, without its "--"
    const char* argument; // what the help calls its argument, or nullptr for none
    const char* help;     // what the help says it does
};

constexpr Option output_option{OptionName::output, 'o', "output", "FILE",
                               "write to FILE, which is replaced only if all goes well"};
constexpr Option help_option{OptionName::help, 0, "help", nullptr,
                             "display this help and exit"};
constexpr Option version_option{OptionName::version, 0, "version", nullptr,
                                "output version information and exit"};

// What the command line asks for.
struct Options {
    bool help = false;
    bool version = false;
    bool lines = false;
    const char* output = nullptr; // the output file; standard output when null
    int first_operand = 1;        // index of the first operand in argv
    std::string error;            // a usage error's message; empty when there is none
};

// Reads the options among accepted from argv. The first --help or --version
// ends the reading: what follows it is not looked at. A later -o replaces
// an earlier one.
Options parse_options(int argc, char* const* argv, std::span<const Option> accepted);

} // namespace bytesmith
