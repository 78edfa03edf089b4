// Reading the options of both programs, in-process.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/options.hpp"

namespace {

using bytesmith::Option;

constexpr Option lines_option{bytesmith::OptionName::lines, 'l', "lines", nullptr, "lines"};
// bytesmith's options, and bytesmith-dump's, which add -l.
constexpr Option translator[] = {bytesmith::output_option, bytesmith::help_option,
                                 bytesmith::version_option};
constexpr Option dumper[] = {lines_option, bytesmith::output_option, bytesmith::help_option,
                             bytesmith::version_option};

struct Case {
    const char* name;
    std::vector<std::string> args; // after the program name
    bool dump;                     // read with bytesmith-dump's options
    // Expected:
    const char* output; // nullptr for standard output
    int first_operand;
    std::string error;
    bool lines = false;
    bool help = false;
    bool version = false;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// Reads the case's arguments, kept in words, which the options point into.
bytesmith::Options parse(const Case& c, std::vector<std::string>& words) {
    words = c.args;
    words.insert(words.begin(), "prog");
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    return c.dump ? bytesmith::parse_options(argc, argv.data(), dumper)
                  : bytesmith::parse_options(argc, argv.data(), translator);
}

class ParseOptions : public testing::TestWithParam<Case> {};

TEST_P(ParseOptions, GivesOptionsOperandsAndErrors) {
    const Case& c = GetParam();
    std::vector<std::string> words;
    bytesmith::Options got = parse(c, words);
    EXPECT_EQ(got.error, c.error);
    EXPECT_EQ(got.first_operand, c.first_operand);
    if (c.output == nullptr) {
        EXPECT_EQ(got.output, nullptr) << got.output;
    } else {
        ASSERT_NE(got.output, nullptr);
        EXPECT_STREQ(got.output, c.output);
    }
    EXPECT_EQ(got.lines, c.lines);
    EXPECT_EQ(got.help, c.help);
    EXPECT_EQ(got.version, c.version);
}

const Case operand_cases[] = {
    {"nothing", {}, false, nullptr, 1, ""},
    {"operands_only", {"a", "b"}, false, nullptr, 1, ""},
    {"lone_hyphen_is_an_operand", {"-", "-o", "x"}, false, nullptr, 1, ""},
    {"first_operand_ends_the_options", {"a", "-o", "x"}, false, nullptr, 1, ""},
    {"double_hyphen_ends_the_options", {"--", "-o", "x"}, false, nullptr, 2, ""},
    {"double_hyphen_after_an_option", {"-o", "x", "--", "--"}, false, "x", 4, ""},
    {"double_hyphen_alone", {"--"}, false, nullptr, 2, ""},
};

const Case output_cases[] = {
    {"separate_argument", {"-o", "f", "a"}, false, "f", 3, ""},
    {"attached_argument", {"-of", "a"}, false, "f", 2, ""},
    {"long_with_equals", {"--output=f", "a"}, false, "f", 2, ""},
    {"long_separate_argument", {"--output", "f", "a"}, false, "f", 3, ""},
    {"long_empty_argument", {"--output="}, false, "", 2, ""},
    {"argument_that_looks_like_an_option", {"-o", "--help"}, false, "--help", 3, ""},
    {"hyphen_as_argument", {"-o", "-"}, false, "-", 3, ""},
    {"later_output_wins", {"-o", "a", "--output=b"}, false, "b", 4, ""},
    {"equals_inside_short_argument", {"-oa=b"}, false, "a=b", 2, ""},
};

const Case group_cases[] = {
    {"lines", {"-l"}, true, nullptr, 2, "", true},
    {"lines_long", {"--lines", "x"}, true, nullptr, 2, "", true},
    {"group_then_argument", {"-lo", "f"}, true, "f", 3, "", true},
    {"group_with_attached_argument", {"-lof"}, true, "f", 2, "", true},
    {"letter_after_o_is_its_argument", {"-ol"}, true, "l", 2, ""},
    {"repeated_flag", {"-ll", "-l"}, true, nullptr, 3, "", true},
};

const Case answer_cases[] = {
    {"help", {"--help"}, false, nullptr, 2, "", false, true},
    {"version", {"--version"}, true, nullptr, 2, "", false, false, true},
    {"help_ends_the_reading", {"--help", "--bogus", "-o"}, false, nullptr, 2, "", false, true},
    {"options_before_help_count", {"-o", "f", "--help"}, false, "f", 4, "", false, true},
    {"error_before_help_wins", {"--bogus", "--help"}, false, nullptr, 2,
     "unrecognized option '--bogus'"},
};

const Case error_cases[] = {
    {"unknown_letter", {"-x"}, false, nullptr, 2, "invalid option -- 'x'"},
    {"unknown_letter_in_a_group", {"-lx"}, true, nullptr, 2, "invalid option -- 'x'", true},
    {"hyphen_in_a_group", {"-l-"}, true, nullptr, 2, "invalid option -- '-'", true},
    {"lines_is_the_dumper_s", {"-l"}, false, nullptr, 2, "invalid option -- 'l'"},
    {"lines_long_is_the_dumper_s", {"--lines"}, false, nullptr, 2,
     "unrecognized option '--lines'"},
    {"unknown_word_with_argument", {"--colour=red"}, false, nullptr, 2,
     "unrecognized option '--colour=red'"},
    {"no_abbreviations", {"--out", "f"}, false, nullptr, 2, "unrecognized option '--out'"},
    {"three_hyphens", {"---"}, false, nullptr, 2, "unrecognized option '---'"},
    {"missing_short_argument", {"-o"}, false, nullptr, 2, "option requires an argument -- 'o'"},
    {"missing_argument_after_group", {"-lo"}, true, nullptr, 2,
     "option requires an argument -- 'o'", true},
    {"missing_long_argument", {"--output"}, false, nullptr, 2,
     "option '--output' requires an argument"},
    {"argument_to_a_flag", {"--help=x"}, false, nullptr, 2,
     "option '--help' doesn't allow an argument"},
};

std::string case_name(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Operands, ParseOptions, testing::ValuesIn(operand_cases), case_name);
INSTANTIATE_TEST_SUITE_P(Output, ParseOptions, testing::ValuesIn(output_cases), case_name);
INSTANTIATE_TEST_SUITE_P(Groups, ParseOptions, testing::ValuesIn(group_cases), case_name);
INSTANTIATE_TEST_SUITE_P(Answers, ParseOptions, testing::ValuesIn(answer_cases), case_name);
INSTANTIATE_TEST_SUITE_P(Errors, ParseOptions, testing::ValuesIn(error_cases), case_name);

TEST(ParseOptions, NoArgumentVectorAtAll) {
    char* argv[] = {nullptr};
    bytesmith::Options got = bytesmith::parse_options(0, argv, translator);
    EXPECT_EQ(got.first_operand, 0);
    EXPECT_EQ(got.error, "");
}

} // namespace
