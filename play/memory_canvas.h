// A screen in memory, for the benchmark and the tests: each cell's character and look, as the
// terminal would be sent them.
#pragma once

#include "play/view.h"

#include <string>
#include <vector>

class memory_canvas : public canvas {
  public:
    memory_canvas(int rows, int cols)
        : rows_(rows), cols_(cols), chars_(static_cast<std::size_t>(rows * cols), ' '),
          looks_(chars_.size(), look_plain) {}
    int rows() const override { return rows_; }
    int cols() const override { return cols_; }
    void text(int row, int col, const std::string& s, int look) override {
        if (row < 0 || row >= rows_) return;
        for (std::size_t i = 0; i < s.size(); ++i) {
            int at = col + static_cast<int>(i);
            if (at < 0 || at >= cols_) continue;
            chars_[static_cast<std::size_t>(row * cols_ + at)] = s[i];
            looks_[static_cast<std::size_t>(row * cols_ + at)] = look;
        }
    }
    void clear() {
        chars_.assign(chars_.size(), ' ');
        looks_.assign(looks_.size(), look_plain);
    }
    char at(int row, int col) const { return chars_[static_cast<std::size_t>(row * cols_ + col)]; }
    int look_at(int row, int col) const {
        return looks_[static_cast<std::size_t>(row * cols_ + col)];
    }
    std::string line(int row) const {
        return chars_.substr(static_cast<std::size_t>(row * cols_),
                             static_cast<std::size_t>(cols_));
    }
    const std::string& chars() const { return chars_; }

  private:
    int rows_;
    int cols_;
    std::string chars_;
    std::vector<int> looks_;
};
