// Saved games on disk. The write is the usual dance for a file that must never be half
// there: a temporary file created exclusively beside the target, written, flushed to the disk,
// and renamed over it; any failure removes the temporary file and leaves the target alone.
#include "play/saves.h"

#include "game/save.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Makes the folder and those above it that are missing, for this user alone.
bool make_folders(const std::string& path, std::string* why) {
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at < path.size() && path[at] != '/') continue;
        std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            *why = part + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

bool write_all(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string save_folder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return std::string(state) + "/verbagrid";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/state/verbagrid";
    return "";
}

std::string save_path(const game& g) {
    std::string folder = save_folder();
    return folder.empty() ? "" : folder + "/" + save_name(g);
}

bool write_game(const game& g, std::string* why) {
    std::string folder = save_folder();
    if (folder.empty()) {
        *why = "neither XDG_STATE_HOME nor HOME says where";
        return false;
    }
    if (!make_folders(folder, why)) return false;
    std::string target = folder + "/" + save_name(g);
    std::string temporary = folder + "/.saving.XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        *why = folder + ": " + std::strerror(errno);
        return false;
    }
    bool written = write_all(fd, save_text(g)) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && rename(temporary.c_str(), target.c_str()) == 0) return true;
    if (written) error = errno;
    unlink(temporary.c_str());
    *why = target + ": " + std::strerror(error);
    return false;
}

int read_game_file(const std::string& path, game& g, std::string* why) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr && errno == ENOENT) return 1;
    if (in == nullptr) {
        *why = path + ": " + std::strerror(errno);
        return 2;
    }
    std::string text;
    char block[4096];
    std::size_t got = 0;
    // a saved game is a few kilobytes for each thousand moves; a file far past that is no save
    while ((got = std::fread(block, 1, sizeof block, in)) > 0 && text.size() < (64u << 20)) {
        text.append(block, got);
    }
    bool failed = std::ferror(in) != 0;
    std::fclose(in);
    std::string reason;
    if (failed) {
        *why = path + ": a read failed";
        return 2;
    }
    if (!read_save(text, g, &reason)) {
        *why = path + ": " + reason;
        return 2;
    }
    return 0;
}

std::string latest_save() {
    std::string folder = save_folder();
    DIR* dir = folder.empty() ? nullptr : opendir(folder.c_str());
    if (dir == nullptr) return "";
    std::string latest;
    struct timespec newest {};
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.rfind("game-", 0) != 0 || name.size() < 9 ||
            name.compare(name.size() - 4, 4, ".txt") != 0) {
            continue;
        }
        std::string path = folder + "/" + name;
        struct stat about {};
        if (stat(path.c_str(), &about) != 0 || !S_ISREG(about.st_mode)) continue;
        bool later =
            about.st_mtim.tv_sec > newest.tv_sec ||
            (about.st_mtim.tv_sec == newest.tv_sec && about.st_mtim.tv_nsec > newest.tv_nsec);
        if (latest.empty() || later) {
            latest = path;
            newest = about.st_mtim;
        }
    }
    closedir(dir);
    return latest;
}

void remove_game(const game& g) {
    std::string path = save_path(g);
    if (!path.empty()) unlink(path.c_str());
}
