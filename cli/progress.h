// The commands' progress line on standard error: redrawn in place on a terminal, a line each
// time elsewhere, nothing at all when quiet.
#pragma once

#include <string>

// Whether the descriptor (0, 1 or 2) is a terminal, on Windows too.
bool is_terminal(int fd);

class progress_line {
  public:
    explicit progress_line(bool quiet);
    ~progress_line() { end(); }
    progress_line(const progress_line&) = delete;
    progress_line& operator=(const progress_line&) = delete;

    void show(const std::string& text);
    void end(); // a line redrawn in place is ended, so that what follows starts on its own

  private:
    bool quiet_;
    bool on_terminal_;
    bool shown_ = false; // a redrawn line is on the terminal, not yet ended
};
