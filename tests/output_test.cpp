// -o FILE end to end: the file is replaced only when all went well, with
// the mode a redirection would give it, and no temporary file stays behind
// whatever ends the run.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "run_program.hpp"

namespace {

using bytesmith_test::read_file;
using bytesmith_test::Result;
using bytesmith_test::run_any;
using bytesmith_test::run_program;
using bytesmith_test::Running;
using bytesmith_test::TempFile;

std::string messages(std::string text) {
    const std::string program = BYTESMITH_PROGRAM;
    for (std::size_t at; (at = text.find("PROG")) != std::string::npos;) {
        text.replace(at, 4, program);
    }
    return text;
}

// A folder of its own for each test, removed with what it holds.
class Folder {
  public:
    Folder() {
        char name[] = "/tmp/bytesmith-out-XXXXXX";
        if (mkdtemp(name) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = name;
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // What the folder holds: a temporary file left behind shows here.
    std::set<std::string> names() const {
        std::set<std::string> found;
        if (DIR* d = opendir(path_.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string n = e->d_name;
                if (n != "." && n != "..") {
                    found.insert(n);
                }
            }
            closedir(d);
        }
        return found;
    }

    void write(const std::string& name, const std::string& contents) const {
        std::ofstream(*this / name, std::ios::binary) << contents;
    }

  private:
    std::string path_;
};

mode_t mode_of(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

// A run that fails leaves the old file, or no file, and nothing else.
struct FailureCase {
    const char* name;
    std::vector<std::string> operands; // after -o FILE; "MISSING" is a file that does not exist
    std::string input;
    std::string err;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedRun : public testing::TestWithParam<FailureCase> {};

TEST_P(FailedRun, LeavesTheFileAsItWas) {
    const FailureCase& c = GetParam();
    for (bool exists : {false, true}) {
        SCOPED_TRACE(exists ? "over an old file" : "no old file");
        Folder folder;
        const std::string file = folder / "fixture.bin";
        if (exists) {
            folder.write("fixture.bin", "old");
        }
        std::vector<std::string> args = {"-o", file};
        for (const std::string& operand : c.operands) {
            args.push_back(operand == "MISSING" ? folder / "missing.txt" : operand);
        }
        Result run = run_program(args, c.input);
        std::string err = messages(c.err);
        if (std::size_t at = err.find("MISSING"); at != std::string::npos) {
            err.replace(at, 7, folder / "missing.txt");
        }
        EXPECT_EQ(run.err, err);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "") << "nothing goes to standard output";
        if (exists) {
            EXPECT_EQ(folder.names(), std::set<std::string>{"fixture.bin"});
            EXPECT_EQ(read_file(file), "old");
        } else {
            EXPECT_EQ(folder.names(), std::set<std::string>{});
        }
    }
}

const FailureCase failure_cases[] = {
    {"invalid_input", {}, "ABC\n\\#C 65 ?\n", "PROG: Invalid input on line 2\n"},
    {"operand_that_cannot_be_opened",
     {"/dev/stdin", "MISSING"},
     "A\n",
     "PROG: failed to open MISSING: No such file or directory\n"},
    {"operand_that_cannot_be_read", {"/"}, "", "PROG: failed to read /: Is a directory\n"},
};

std::string failure_name(const testing::TestParamInfo<FailureCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Output, FailedRun, testing::ValuesIn(failure_cases), failure_name);

TEST(OutputFile, SuccessReplacesTheFileAndWritesNothingElse) {
    Folder folder;
    folder.write("fixture.bin", "a much longer old content");
    for (const char* form : {"-o", "-oFILE", "--output", "--output=FILE"}) {
        SCOPED_TRACE(form);
        std::string option = form;
        std::vector<std::string> args;
        if (std::size_t at = option.find("FILE"); at != std::string::npos) {
            args = {option.replace(at, 4, folder / "fixture.bin")};
        } else {
            args = {option, folder / "fixture.bin"};
        }
        Result run = run_program(args, "A\\x42\n");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(read_file(folder / "fixture.bin"), "AB");
        EXPECT_EQ(folder.names(), std::set<std::string>{"fixture.bin"});
    }
}

TEST(OutputFile, TranslationErrorStillWritesTheFile) {
    Folder folder;
    Result run = run_program({"-o", folder / "f"}, "\\#C 65 -\nB\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(read_file(folder / "f"), "AB");
}

TEST(OutputFile, EmptyOutputStillMakesTheFile) {
    Folder folder;
    folder.write("f", "old");
    Result run = run_program({"-o", folder / "f"}, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(read_file(folder / "f"), "");
    EXPECT_EQ(folder.names(), std::set<std::string>{"f"});
}

TEST(OutputFile, FileMayAlsoBeAnInput) {
    Folder folder;
    folder.write("f", "A\\x42\n");
    Result run = run_program({"-o", folder / "f", folder / "f", folder / "f"}, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(read_file(folder / "f"), "ABAB") << "both operands read the old content";

    folder.write("d", "xy");
    Result dumped = run_any(BYTESMITH_DUMP_PROGRAM, {"-o", folder / "d", folder / "d"}, "");
    EXPECT_EQ(dumped.status, 0);
    EXPECT_EQ(read_file(folder / "d"), "00000000\txy\n");
}

TEST(OutputFile, ModeIsTheOneARedirectionGives) {
    Folder folder;
    mode_t old_mask = umask(027);
    Result fresh = run_program({"-o", folder / "new"}, "A");
    folder.write("kept", "old");
    chmod((folder / "kept").c_str(), 0751);
    Result kept = run_program({"-o", folder / "kept"}, "A");
    umask(old_mask);
    EXPECT_EQ(fresh.status, 0);
    EXPECT_EQ(mode_of(folder / "new") & 07777, 0640u) << "0666 less the umask";
    EXPECT_EQ(kept.status, 0);
    EXPECT_EQ(mode_of(folder / "kept") & 07777, 0751u) << "the old file's permission bits";
}

TEST(OutputFile, SymbolicLinksStayAndTheirFinalTargetIsReplaced) {
    Folder folder;
    mkdir((folder / "sub").c_str(), 0777);
    folder.write("sub/target", "old");
    // link -> sub/middle -> target, the last relative to sub.
    ASSERT_EQ(symlink("target", (folder / "sub/middle").c_str()), 0);
    ASSERT_EQ(symlink("sub/middle", (folder / "link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (folder / "dangling").c_str()), 0);

    Result run = run_program({"-o", folder / "link"}, "new");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(read_file(folder / "sub/target"), "new");
    struct stat st {};
    ASSERT_EQ(lstat((folder / "link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat((folder / "sub/middle").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    Result dangling = run_program({"-o", folder / "dangling"}, "made");
    EXPECT_EQ(dangling.status, 0);
    EXPECT_EQ(read_file(folder / "nowhere"), "made") << "the link's target is created";
    EXPECT_EQ(folder.names(), (std::set<std::string>{"dangling", "link", "nowhere", "sub"}));
}

TEST(OutputFile, FileThatIsNoRegularFileIsWrittenDirectly) {
    Result null = run_program({"-o", "/dev/null"}, "A");
    EXPECT_EQ(null.status, 0);
    EXPECT_EQ(null.err, "");
    EXPECT_TRUE(S_ISCHR(mode_of("/dev/null")));

    Result full = run_program({"-o", "/dev/full"}, "A");
    EXPECT_EQ(full.err, messages("PROG: failed to write /dev/full: No space left on device\n"));
    EXPECT_EQ(full.status, 1);
}

TEST(OutputFile, FileThatCannotBeCreatedStopsBeforeAnyInput) {
    Folder folder;
    // Invalid input on standard input would be reported if it were read.
    const std::string unread = "\\#?\n";
    Result dir = run_program({"-o", folder / ""}, unread);
    EXPECT_EQ(dir.err, messages("PROG: failed to create " + folder / "" + ": Is a directory\n"));
    EXPECT_EQ(dir.status, 1);

    Result missing = run_program({"-o", folder / "no/such/folder"}, unread);
    EXPECT_EQ(missing.err, messages("PROG: failed to create " + folder / "no/such/folder" +
                                    ": No such file or directory\n"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(folder.names(), std::set<std::string>{});
}

TEST(OutputFile, FileWithoutWritePermissionIsLeftAlone) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root may write any file";
    }
    Folder folder;
    folder.write("f", "old");
    chmod((folder / "f").c_str(), 0444);
    Result run = run_program({"-o", folder / "f"}, "new");
    EXPECT_EQ(run.err, messages("PROG: failed to create " + folder / "f" + ": Permission denied\n"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(read_file(folder / "f"), "old");
}

// Waits until the program's temporary file shows in the folder, beside
// the names it held before.
bool temporary_appears(const Folder& folder, std::size_t names_before) {
    for (int i = 0; i < 2000; ++i) {
        if (folder.names().size() > names_before) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

struct SignalCase {
    const char* name;
    int sig;
};

void PrintTo(const SignalCase& c, std::ostream* os) {
    *os << c.name;
}

class Signal : public testing::TestWithParam<SignalCase> {};

TEST_P(Signal, RemovesTheTemporaryFileAndEndsTheProcessByTheSignal) {
    const SignalCase& c = GetParam();
    Folder folder;
    folder.write("f", "old");
    Running run(BYTESMITH_PROGRAM, {"-o", folder / "f"});
    ASSERT_TRUE(temporary_appears(folder, 1));
    run.signal(c.sig);
    Result done = run.wait();
    EXPECT_EQ(done.status, 128 + c.sig);
    EXPECT_EQ(folder.names(), std::set<std::string>{"f"});
    EXPECT_EQ(read_file(folder / "f"), "old");
}

const SignalCase signal_cases[] = {
    {"hangup", SIGHUP},
    {"interrupt", SIGINT},
    {"termination", SIGTERM},
    {"broken_pipe", SIGPIPE},
};

std::string signal_name(const testing::TestParamInfo<SignalCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Output, Signal, testing::ValuesIn(signal_cases), signal_name);

TEST(Signal, IgnoredSignalStaysIgnored) {
    Folder folder;
    // As under nohup: the program inherits SIGHUP ignored.
    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGHUP, &ignore, &old);
    Running run(BYTESMITH_PROGRAM, {"-o", folder / "f"});
    sigaction(SIGHUP, &old, nullptr);
    ASSERT_TRUE(temporary_appears(folder, 0));
    run.signal(SIGHUP);
    Result done = run.wait();
    EXPECT_EQ(done.status, 0);
    EXPECT_EQ(folder.names(), std::set<std::string>{"f"});
}

TEST(Signal, FileSizeLimitRemovesTheTemporaryFile) {
    Folder folder;
    folder.write("f", "old");
    TempFile big(std::string(1 << 20, 'x'));
    // The limit is inherited: set it for the program's start only.
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &limit);
    Running run(BYTESMITH_PROGRAM, {"-o", folder / "f", big.path()});
    setrlimit(RLIMIT_FSIZE, &old);
    Result done = run.wait();
    EXPECT_EQ(done.status, 128 + SIGXFSZ);
    EXPECT_EQ(folder.names(), std::set<std::string>{"f"});
    EXPECT_EQ(read_file(folder / "f"), "old");
}

} // namespace
