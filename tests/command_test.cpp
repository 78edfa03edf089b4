// The command line of both built programs: --help, --version, usage errors
// and where the options end.

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "run_program.hpp"

namespace {

using bytesmith_test::Result;
using bytesmith_test::run_any;
using bytesmith_test::TempFile;

struct Program {
    const char* name; // the constant name in --help and --version
    const char* path;
};

void PrintTo(const Program& p, std::ostream* os) {
    *os << p.name;
}

const Program programs[] = {
    {"bytesmith", BYTESMITH_PROGRAM},
    {"bytesmith-dump", BYTESMITH_DUMP_PROGRAM},
};

class Command : public testing::TestWithParam<Program> {};

// Standard input that bytesmith would report as invalid input, and that
// either program would describe, if it were read.
const std::string unread_input = "\\#?\n";

TEST_P(Command, HelpGoesToStandardOutput) {
    const Program& p = GetParam();
    TempFile marker("");
    const std::string file = marker.path() + ".out";
    Result run = run_any(p.path, {"-o", file, "--help", "--no-such-option"}, unread_input);
    struct stat st {};
    EXPECT_NE(stat(file.c_str(), &st), 0) << "-o before --help makes no file";
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
              std::string("Usage: ") + p.name + " [OPTION]... [FILE]...");
    for (const char* line : {"\n  -o, --output=FILE  ", "\n      --help  ", "\n      --version  ",
                             "man 5 bytesmith\n\nExit status: 0 "}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(run.out.find("\n  -l, --lines  ") != std::string::npos,
              p.name == std::string("bytesmith-dump"));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
}

TEST_P(Command, VersionGivesNameVersionAndLicence) {
    const Program& p = GetParam();
    Result run = run_any(p.path, {"--version"}, unread_input);
    EXPECT_EQ(run.out, std::string(p.name) + " " BYTESMITH_VERSION "\n"
                           "Copyright (c) 2026 the bytesmith developers\n"
                           "MIT licence: free to use, change and share; there is NO WARRANTY.\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
}

TEST_P(Command, AnswerThatCannotBeWrittenFails) {
    const Program& p = GetParam();
    for (const char* option : {"--help", "--version"}) {
        Result run = run_any(p.path, {option}, "", {"/dev/full"});
        EXPECT_EQ(run.err, std::string(p.path) +
                               ": failed to write standard output: No space left on device\n");
        EXPECT_EQ(run.status, 1);
    }
}

TEST_P(Command, UsageErrorsReadAndWriteNothing) {
    const Program& p = GetParam();
    TempFile marker("");
    const std::string file = marker.path() + ".out";
    const std::string prog = p.path;
    const std::string hint = "\nTry '" + prog + " --help' for more information.\n";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"-o", file, "-x"}, "invalid option -- 'x'"},
        {{"--output=" + file, "--frobnicate"}, "unrecognized option '--frobnicate'"},
        {{"--vers"}, "unrecognized option '--vers'"},
        {{"-o"}, "option requires an argument -- 'o'"},
        {{"--output"}, "option '--output' requires an argument"},
        {{"--version=2"}, "option '--version' doesn't allow an argument"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Result run = run_any(p.path, c.args, unread_input);
        EXPECT_EQ(run.err, prog + ": " + c.message + hint);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.status, 2);
        struct stat st {};
        EXPECT_NE(stat(file.c_str(), &st), 0) << "the output file is not made";
    }
}

TEST_P(Command, OptionsEndAtDoubleHyphenOrTheFirstOperand) {
    const Program& p = GetParam();
    const std::string prog = p.path;
    Result after_dashes = run_any(p.path, {"--", "-x"}, "");
    EXPECT_EQ(after_dashes.err, prog + ": failed to open -x: No such file or directory\n");
    EXPECT_EQ(after_dashes.status, 1);

    TempFile a("");
    Result after_operand = run_any(p.path, {a.path(), "--help"}, "");
    EXPECT_EQ(after_operand.err, prog + ": failed to open --help: No such file or directory\n");
    EXPECT_EQ(after_operand.status, 1);
}

std::string program_name(const testing::TestParamInfo<Program>& info) {
    std::string name = info.param.name;
    return name == "bytesmith" ? "bytesmith" : "bytesmith_dump";
}

INSTANTIATE_TEST_SUITE_P(Programs, Command, testing::ValuesIn(programs), program_name);

} // namespace
