// A progress bar on standard error, drawn only when standard error is a
// terminal, so logs and pipes stay clean.
#pragma once

#include <string>

namespace mb::cli {

// "label [#####          ] 5/15": the bar every progress display draws.
std::string progressBar(const std::string& label, int done, int total);

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
