// Where a command writes: standard output, or a file that appears whole or not at all. The
// file is written under a temporary name beside it, created exclusively, and renamed over
// the target only once everything has been written and flushed.
#pragma once

#include <cstdio>
#include <string>

class output_file {
  public:
    // Opens path for writing, or standard output when path is empty. False, with the reason
    // on stderr, when the temporary file cannot be made.
    bool open(const std::string& path);
    std::FILE* stream() const { return out_; }
    // Flushes, and renames the file into place. False, with the reason on stderr, when a
    // write failed; the temporary file is then removed.
    bool commit();
    // Removes the temporary file; standard output is left as it is.
    void discard();
    ~output_file() { discard(); }

  private:
    std::FILE* out_ = stdout;
    std::string path_;
    std::string temporary_;
};

// The same for a file of its own: writes text to path whole or not at all. False, with the
// reason on stderr, on failure.
bool write_whole_file(const std::string& path, const std::string& text);

// The name of the n-th of a series of files named after path: card.svg, card-2.svg, ...
std::string numbered_name(const std::string& path, int n);
