#include "cli/output_file.hpp"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/signal_removal.hpp"

namespace bytesmith {
namespace {

// Symbolic links followed at most before giving up, as the kernel does.
constexpr int max_links = 40;

// The part of the temporary file's name taken from the file's own, short
// enough that the name fits every file system's limit.
constexpr std::size_t max_base_in_name = 200;

mode_t current_umask() {
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// The folder part of path, with its slash; empty for a name in the
// working folder.
std::string folder_of(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file that a redirection to path writes: path, or the final target of
// the symbolic links it names, which need not exist yet. Fills st when it
// exists. Returns 0 or an errno.
int resolve(const char* path, std::string* target, struct stat* st, bool* exists) {
    *target = path;
    for (int links = 0;; ++links) {
        if (lstat(target->c_str(), st) != 0) {
            *exists = false;
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(st->st_mode)) {
            *exists = true;
            return 0;
        }
        if (links == max_links) {
            return ELOOP;
        }
        char link[PATH_MAX];
        ssize_t n = readlink(target->c_str(), link, sizeof link);
        if (n < 0) {
            return errno;
        }
        if (static_cast<std::size_t>(n) == sizeof link) {
            return ENAMETOOLONG;
        }
        std::string next(link, static_cast<std::size_t>(n));
        *target = next[0] == '/' ? next : folder_of(*target) + next;
    }
}

} // namespace

FileFailure OutputFile::open(const char* path) {
    std::string target;
    struct stat st {};
    bool exists = false;
    if (int err = resolve(path, &target, &st, &exists)) {
        return {FileStep::create, err};
    }
    if (exists && !S_ISREG(st.st_mode)) {
        // A device, FIFO or terminal cannot be replaced: write to it.
        fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            return {FileStep::create, errno};
        }
        return {};
    }
    // A redirection cannot write a file it has no permission to write;
    // renaming over it could.
    if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return {FileStep::create, errno};
    }
    return open_temporary(target, exists ? &st : nullptr);
}

FileFailure OutputFile::open_temporary(const std::string& target, const struct stat* old) {
    std::string folder = folder_of(target);
    std::string base = target.substr(folder.size());
    if (base.empty()) {
        return {FileStep::create, EISDIR};
    }
    // Hidden and named after the file, so that one left by a crash is
    // easily told.
    std::string name = folder + "." + base.substr(0, max_base_in_name) + ".XXXXXX";
    if (name.size() >= PATH_MAX) {
        return {FileStep::create, ENAMETOOLONG};
    }
    {
        SignalsHeld held;
        fd_ = mkstemp(name.data());
        if (fd_ < 0) {
            return {FileStep::create, errno};
        }
        temporary_ = name;
        target_ = target;
        remove_on_signal(temporary_.c_str());
    }
    // The old file's permission bits, and its owner and group where we may
    // give them (otherwise they are ours, as a new file's would be); a new
    // file's mode is the one a redirection creates it with.
    mode_t mode = 0666 & ~current_umask();
    if (old != nullptr) {
        mode = old->st_mode & 0777;
        if (old->st_uid != geteuid() || old->st_gid != getegid()) {
            int ignored = fchown(fd_, old->st_uid, old->st_gid);
            (void)ignored;
        }
    }
    if (fchmod(fd_, mode) != 0) {
        int err = errno;
        discard();
        return {FileStep::create, err};
    }
    return {};
}

FileFailure OutputFile::commit() {
    if (fd_ < 0) {
        return {};
    }
    int fd = fd_;
    fd_ = -1;
    // Some file systems report a failed write only when the file is closed.
    if (close(fd) != 0) {
        int err = errno;
        discard();
        return {FileStep::write, err};
    }
    if (temporary_.empty()) {
        return {};
    }
    SignalsHeld held;
    if (rename(temporary_.c_str(), target_.c_str()) != 0) {
        int err = errno;
        discard();
        return {FileStep::create, err};
    }
    remove_nothing_on_signal();
    temporary_.clear();
    return {};
}

void OutputFile::discard() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        SignalsHeld held;
        unlink(temporary_.c_str());
        remove_nothing_on_signal();
        temporary_.clear();
    }
}

} // namespace bytesmith
