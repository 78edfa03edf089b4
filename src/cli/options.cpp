#include "cli/options.hpp"

#include <cstring>
#include <string_view>

namespace bytesmith {
namespace {

const Option* find_letter(std::span<const Option> accepted, char letter) {
    for (const Option& o : accepted) {
        if (o.letter != 0 && o.letter == letter) {
            return &o;
        }
    }
    return nullptr;
}

const Option* find_word(std::span<const Option> accepted, std::string_view word) {
    for (const Option& o : accepted) {
        if (word == o.word) {
            return &o;
        }
    }
    return nullptr;
}

// Records one option; returns false when it ends the reading.
bool apply(Options& options, const Option& option, const char* argument) {
    switch (option.name) {
    case OptionName::lines:
        options.lines = true;
        return true;
    case OptionName::output:
        options.output = argument;
        return true;
    case OptionName::help:
        options.help = true;
        return false;
    case OptionName::version:
        options.version = true;
        return false;
    }
    return true;
}

// Reads the long option at argv[*next - 1], taking its argument from after
// the '=' or from argv[*next]. Returns false when the reading ends.
bool read_long(Options& options, int argc, char* const* argv, int* next,
               std::span<const Option> accepted) {
    const char* arg = argv[*next - 1];
    std::string_view word = arg + 2;
    const char* value = nullptr;
    if (std::size_t eq = word.find('='); eq != std::string_view::npos) {
        value = arg + 2 + eq + 1;
        word = word.substr(0, eq);
    }
    const Option* option = find_word(accepted, word);
    if (option == nullptr) {
        options.error = "unrecognized option '" + std::string(arg) + "'";
        return false;
    }
    if (option->argument == nullptr && value != nullptr) {
        options.error = "option '--" + std::string(word) + "' doesn't allow an argument";
        return false;
    }
    if (option->argument != nullptr && value == nullptr) {
        if (*next == argc) {
            options.error = "option '--" + std::string(word) + "' requires an argument";
            return false;
        }
        value = argv[(*next)++];
    }
    return apply(options, *option, value);
}

// Reads the group of short options at argv[*next - 1], the argument of its
// last one from the rest of the word or from argv[*next]. Returns false
// when the reading ends.
bool read_short(Options& options, int argc, char* const* argv, int* next,
                std::span<const Option> accepted) {
    for (const char* p = argv[*next - 1] + 1; *p != '\0'; ++p) {
        const Option* option = find_letter(accepted, *p);
        if (option == nullptr) {
            options.error = std::string("invalid option -- '") + *p + "'";
            return false;
        }
        if (option->argument == nullptr) {
            if (!apply(options, *option, nullptr)) {
                return false;
            }
            continue;
        }
        const char* value = p + 1;
        if (*value == '\0') {
            if (*next == argc) {
                options.error = std::string("option requires an argument -- '") + *p + "'";
                return false;
            }
            value = argv[(*next)++];
        }
        return apply(options, *option, value);
    }
    return true;
}

} // namespace

Options parse_options(int argc, char* const* argv, std::span<const Option> accepted) {
    Options options;
    int next = argc > 0 ? 1 : 0; // argv[0] names the program
    while (next < argc) {
        const char* arg = argv[next];
        if (arg[0] != '-' || arg[1] == '\0') {
            break; // an operand, a lone "-" included
        }
        ++next;
        if (std::strcmp(arg, "--") == 0) {
            break;
        }
        bool go_on = arg[1] == '-' ? read_long(options, argc, argv, &next, accepted)
                                   : read_short(options, argc, argv, &next, accepted);
        if (!go_on) {
            break;
        }
    }
    options.first_operand = next;
    return options;
}

} // namespace bytesmith
