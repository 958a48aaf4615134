// The progress of a plan run on a terminal: one bar per line, redrawn in
// place on standard error; nothing at all when standard error is not a
// terminal, so logs and pipes stay clean.
#pragma once

#include <string>
#include <vector>

namespace mb::cli {

class LinesProgress {
  public:
    LinesProgress(std::vector<std::string> labels, std::vector<int> totals);
    ~LinesProgress();
    bool enabled() const { return enabled_; }
    void show(const std::vector<int>& done);

  private:
    std::vector<std::string> labels_;
    std::vector<int> totals_;
    bool enabled_;
    bool drawn_ = false;
};

}  // namespace mb::cli
