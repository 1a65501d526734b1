// A file written with -o is never seen half-written: a reader finds the old file or the new
// one. What is not a regular file is not replaced by one: a link keeps pointing where it did,
// a FIFO stays a FIFO, a device a device. Errors name the file and the system's reason.
#include "cli/output_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

void complain(const std::string& path) {
    std::fprintf(stderr, "verbagrid: %s: %s\n", path.c_str(), std::strerror(errno));
}

#ifdef _WIN32
// Creates a new file beside path under a name no one can predict, opened exclusively.
std::FILE* create_beside(const std::string& path, std::string* temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = path + ".XXXXXX";
        if (_mktemp_s(name.data(), name.size() + 1) != 0) return nullptr;
        int fd =
            _open(name.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            *temporary = name;
            return _fdopen(fd, "wb");
        }
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

bool replace(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    errno = EACCES;
    return false;
}

#else
// The file a symbolic link leads to, through every link on the way; a link to nothing yet
// leads to the name it holds, taken from the link's folder. Empty, with errno ELOOP, when the
// links go round: a loop is no place to write, and must not be replaced by a file.
std::string followed(const std::string& path) {
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return at;
        char target[PATH_MAX];
        ssize_t length = readlink(at.c_str(), target, sizeof target - 1);
        if (length < 0) return at;
        target[length] = '\0';
        std::size_t slash = at.find_last_of('/');
        at = target[0] == '/' || slash == std::string::npos ? std::string(target)
                                                            : at.substr(0, slash + 1) + target;
    }
    errno = ELOOP;
    return "";
}

// Creates a new file beside path under a name no one can predict, opened exclusively, with
// the mode of the file it replaces, or the mode a new file would get.
std::FILE* create_beside(const std::string& path, std::string* temporary) {
    // beside it, under a name no longer than the longest a folder holds: a long name's own
    // length must leave room
    std::size_t slash = path.find_last_of('/');
    std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    std::string name = path.substr(0, base) + "." +
                       path.substr(base, std::min<std::size_t>(path.size() - base, 200)) +
                       ".XXXXXX";
    int fd = mkstemp(name.data());
    if (fd < 0) return nullptr;
    struct stat old;
    if (stat(path.c_str(), &old) == 0) {
        fchmod(fd, old.st_mode & 07777);
        // as root, the file stays its owner's; elsewhere this fails, and the writer owns it
        if (fchown(fd, old.st_uid, old.st_gid) != 0) fchmod(fd, old.st_mode & 0777);
    } else {
        mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    *temporary = name;
    std::FILE* out = fdopen(fd, "wb");
    if (out == nullptr) {
        close(fd);
        std::remove(name.c_str());
        temporary->clear();
    }
    return out;
}

bool replace(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}
#endif

} // namespace

bool output_file::open(const std::string& path) {
    out_ = stdout;
    if (path.empty() || path == "-") return true;
    path_ = path;
    target_ = path;
#ifndef _WIN32
    target_ = followed(path);
    if (target_.empty()) {
        complain(path_);
        path_.clear();
        return false;
    }
    struct stat info;
    if (stat(target_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        // a FIFO, a device: what reads it takes the bytes as they come
        out_ = std::fopen(target_.c_str(), "wb");
        if (out_ != nullptr) return true;
        complain(path_);
        out_ = stdout;
        path_.clear();
        return false;
    }
#endif
    out_ = create_beside(target_, &temporary_);
    if (out_ == nullptr) {
        complain(path_);
        out_ = stdout;
        path_.clear();
        return false;
    }
    return true;
}

bool output_file::written() {
    if (std::fflush(out_) == 0 && !std::ferror(out_)) return true;
    complain(path_.empty() ? "standard output" : path_);
    discard();
    return false;
}

bool output_file::commit() {
    if (path_.empty()) return written();
    if (out_ == stdout) return false; // discarded after a failure, already reported
    if (!written()) return false;
    bool closed = std::fclose(out_) == 0;
    out_ = stdout;
    if (temporary_.empty()) { // written straight into
        path_.clear();
        if (!closed) complain(target_);
        return closed;
    }
    if (!closed || !replace(temporary_, target_)) {
        complain(path_);
        std::remove(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    temporary_.clear();
    path_.clear();
    return true;
}

void output_file::discard() {
    if (out_ != stdout) std::fclose(out_);
    out_ = stdout;
    if (!temporary_.empty()) std::remove(temporary_.c_str());
    temporary_.clear();
}

std::string numbered_name(const std::string& path, int n) {
    if (n == 1) return path;
    std::size_t slash = path.find_last_of("/\\");
    std::size_t dot = path.find_last_of('.');
    // a dot in a folder's name, or a leading dot, is not an extension
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        dot == (slash == std::string::npos ? 0 : slash + 1)) {
        dot = path.size();
    }
    return path.substr(0, dot) + "-" + std::to_string(n) + path.substr(dot);
}
