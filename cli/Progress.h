// A progress bar on standard error, drawn only when standard error is a
// terminal, so logs and pipes stay clean.
#pragma once

#include <string>

namespace mb::cli {

class Progress {
  public:
    Progress(std::string label, int total);
    ~Progress();
    void show(int done);

  private:
    std::string label_;
    int total_;
    bool enabled_;
};

}  // namespace mb::cli
