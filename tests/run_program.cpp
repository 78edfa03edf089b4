#include "run_program.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bytesmith_test {

TempFile::TempFile(const std::string& contents) {
    char name[] = "/tmp/bytesmith-test-XXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) {
        throw std::runtime_error("mkstemp failed");
    }
    std::size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n <= 0) {
            close(fd);
            throw std::runtime_error("write to temporary file failed");
        }
        done += static_cast<std::size_t>(n);
    }
    close(fd);
    path_ = name;
}

TempFile::~TempFile() {
    unlink(path_.c_str());
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

// The words of the command that runs a program built for another machine
// (BYTESMITH_EMULATOR, blank-separated), none for a native build.
std::vector<std::string> emulator_words() {
    std::istringstream command(BYTESMITH_EMULATOR);
    std::vector<std::string> words;
    for (std::string word; command >> word;) {
        words.push_back(word);
    }
    return words;
}

// The argument vector of a program run through the emulator, if any.
std::vector<std::string> command_words(const std::string& program,
                                       const std::vector<std::string>& operands) {
    std::vector<std::string> args = emulator_words();
    args.push_back(program);
    args.insert(args.end(), operands.begin(), operands.end());
    return args;
}

pid_t spawn(std::vector<std::string>& args, posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid;
    int rc = posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(actions);
    if (rc != 0) {
        throw std::runtime_error("posix_spawn failed");
    }
    return pid;
}

int wait_for(pid_t pid) {
    int wstatus = 0;
    while (waitpid(pid, &wstatus, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("waitpid failed");
        }
    }
    return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
}

} // namespace

Result run_program(const std::vector<std::string>& operands, const std::string& input,
                   const Redirect& redirect) {
    return run_any(BYTESMITH_PROGRAM, operands, input, redirect);
}

Result run_any(const std::string& program, const std::vector<std::string>& operands,
               const std::string& input, const Redirect& redirect) {
    const std::string& stdout_path = redirect.stdout_path;
    TempFile in(input);
    TempFile out("");
    TempFile err("");
    const std::string& out_path = stdout_path.empty() ? out.path() : stdout_path;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.path().c_str(), O_RDONLY, 0);
    if (redirect.close_stdout) {
        posix_spawn_file_actions_addclose(&actions, 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_TRUNC, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, err.path().c_str(), O_WRONLY | O_TRUNC, 0);

    std::vector<std::string> args = command_words(program, operands);
    Result run;
    run.status = wait_for(spawn(args, &actions));
    if (stdout_path.empty()) {
        run.out = read_file(out.path());
    }
    run.err = read_file(err.path());
    return run;
}

Running::Running(const std::string& program, const std::vector<std::string>& operands) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) {
        throw std::runtime_error("pipe failed");
    }
    // No other program started meanwhile keeps the pipe open.
    fcntl(pipe_ends[0], F_SETFD, FD_CLOEXEC);
    fcntl(pipe_ends[1], F_SETFD, FD_CLOEXEC);
    input_ = pipe_ends[1];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[0], 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_.path().c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err_.path().c_str(), O_WRONLY | O_TRUNC, 0);
    std::vector<std::string> args = command_words(program, operands);
    try {
        pid_ = spawn(args, &actions);
    } catch (...) {
        close(pipe_ends[0]);
        throw;
    }
    close(pipe_ends[0]);
}

Running::~Running() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        wait();
    }
}

void Running::signal(int sig) {
    kill(pid_, sig);
}

Result Running::wait() {
    if (input_ >= 0) {
        close(input_);
        input_ = -1;
    }
    Result run;
    run.status = wait_for(pid_);
    pid_ = -1;
    run.out = read_file(out_.path());
    run.err = read_file(err_.path());
    return run;
}

std::string hex(const std::string& bytes) {
    std::string s;
    char two[4];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%02x", c);
        if (!s.empty()) {
            s += ' ';
        }
        s += two;
    }
    return s;
}

} // namespace bytesmith_test
