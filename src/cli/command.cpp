#include "cli/command.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/messages.hpp"

namespace bytesmith {
namespace {

// How the help shows an option: "-o, --output=FILE" or "    --help".
std::string option_form(const Option& o) {
    std::string form = o.letter != 0 ? std::string("-") + o.letter + ", " : "    ";
    form += "--";
    form += o.word;
    if (o.argument != nullptr) {
        form += '=';
        form += o.argument;
    }
    return form;
}

std::string help_text(const Program& about) {
    std::string text = std::string("Usage: ") + about.name + " [OPTION]... [FILE]...\n";
    text += about.summary;
    text += '\n';
    std::size_t width = 0;
    for (const Option& o : about.options) {
        width = std::max(width, option_form(o).size());
    }
    for (const Option& o : about.options) {
        std::string form = option_form(o);
        text += "  " + form + std::string(width - form.size() + 2, ' ') + o.help + '\n';
    }
    text += '\n';
    text += about.details;
    text += "\nExit status: 0 if all went well, 1 if an input or the output failed,\n"
            "2 if the command line was wrong.\n";
    return text;
}

std::string version_text(const Program& about) {
    return std::string(about.name) + " " BYTESMITH_VERSION "\n"
           "Copyright (c) 2026 the bytesmith developers\n"
           "MIT licence: free to use, change and share; there is NO WARRANTY.\n";
}

} // namespace

std::optional<int> Command::start(int argc, char** argv) {
    options_ = parse_options(argc, argv, about_.options);
    if (!options_.error.empty()) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program_,
                     options_.error.c_str(), program_);
        return 2;
    }
    if (options_.help) {
        return print(help_text(about_));
    }
    if (options_.version) {
        return print(version_text(about_));
    }
    if (options_.output != nullptr) {
        FileFailure failure = output_.open(options_.output);
        if (failure.step != FileStep::none) {
            report_failure(program_, "create", output_.name(), failure.error);
            return 1;
        }
    }
    operands_ = {argv + options_.first_operand,
                 static_cast<std::size_t>(argc - options_.first_operand)};
    return std::nullopt;
}

int Command::run(const std::function<InputResult(int fd)>& process,
                 const std::function<void()>& finish) {
    int status = process_operands(operands_, program_, output_, process, finish);
    if (status != 0) {
        return status; // an output file not put in place is removed with the output
    }
    FileFailure failure = output_.commit();
    if (failure.step != FileStep::none) {
        report_failure(program_, failure.step == FileStep::write ? "write" : "create",
                       output_.name(), failure.error);
        return 1;
    }
    return 0;
}

// Writes text to standard output. Returns the exit status.
int Command::print(const std::string& text) {
    ByteSink& sink = output_.sink();
    unsigned char* at = sink.reserve(text.size());
    sink.commit(std::copy(text.begin(), text.end(), at));
    if (int err = output_.drain()) {
        report_failure(program_, "write", output_.name(), err);
        return 1;
    }
    return 0;
}

} // namespace bytesmith
