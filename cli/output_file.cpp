// A file written with -o is never seen half-written: a reader finds the old file or the new
// one. Errors name the file and the system's reason, on stderr.
#include "cli/output_file.h"

#include <cerrno>
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

// Creates a new file beside path under a name no one can predict, opened exclusively.
std::FILE* create_beside(const std::string& path, std::string* temporary) {
#ifdef _WIN32
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
#else
    std::string name = path + ".XXXXXX";
    int fd = mkstemp(name.data());
    if (fd < 0) return nullptr;
    // mkstemp makes the file private; the result gets the mode a new file would get
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    *temporary = name;
    std::FILE* out = fdopen(fd, "wb");
    if (out == nullptr) close(fd);
    return out;
#endif
}

bool replace(const std::string& from, const std::string& to) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    errno = EACCES;
    return false;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

} // namespace

bool output_file::open(const std::string& path) {
    if (path.empty()) {
        out_ = stdout;
        return true;
    }
    path_ = path;
    out_ = create_beside(path, &temporary_);
    if (out_ == nullptr) {
        complain(path);
        out_ = stdout;
        return false;
    }
    return true;
}

bool output_file::commit() {
    if (temporary_.empty()) {
        if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
        complain("standard output");
        return false;
    }
    bool written = std::fflush(out_) == 0 && !std::ferror(out_);
    int saved = errno;
    bool closed = std::fclose(out_) == 0;
    out_ = stdout;
    if (!written || !closed || !replace(temporary_, path_)) {
        if (!written) errno = saved;
        complain(path_);
        std::remove(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    temporary_.clear();
    return true;
}

void output_file::discard() {
    if (temporary_.empty()) return;
    std::fclose(out_);
    out_ = stdout;
    std::remove(temporary_.c_str());
    temporary_.clear();
}

bool write_whole_file(const std::string& path, const std::string& text) {
    output_file file;
    if (!file.open(path)) return false;
    std::fwrite(text.data(), 1, text.size(), file.stream());
    return file.commit();
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
