// Where a command writes: standard output, or a file that appears whole or not at all. A
// regular file, or a new name, is written under a temporary name beside it, created
// exclusively, and renamed over it only once everything has been written and flushed, with
// the old file's mode. A symbolic link is followed, and the file it names is replaced (the
// link stays); a FIFO or a device is written straight into; "-" is standard output.
#pragma once

#include <cstdio>
#include <string>

class output_file {
  public:
    // Opens path for writing, or standard output when path is empty or "-". False, with the
    // reason on stderr, when it cannot be opened.
    bool open(const std::string& path);
    std::FILE* stream() const { return out_; }
    bool is_file() const { return !path_.empty(); } // not standard output
    // Flushes, and checks that every write so far went through. False, with the reason on
    // stderr, when one failed; a temporary file is then removed.
    bool written();
    // written(), then the file is closed and renamed into place. False, with the reason on
    // stderr, on failure; a temporary file is then removed.
    bool commit();
    // Removes the temporary file; standard output, a FIFO or a device is left as it is.
    void discard();
    ~output_file() { discard(); }
    output_file() = default;
    output_file(const output_file&) = delete;
    output_file& operator=(const output_file&) = delete;

  private:
    std::FILE* out_ = stdout;
    std::string path_;      // the file as named; empty for standard output
    std::string target_;    // where the file goes: path_, or the file a link names
    std::string temporary_; // the temporary file beside target_; empty when written straight
};

// The name of the n-th of a series of files named after path: card.svg, card-2.svg, ...
std::string numbered_name(const std::string& path, int n);
