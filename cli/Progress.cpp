#include "cli/Progress.h"

#include <unistd.h>

#include <cstdio>

namespace mb::cli {

Progress::Progress(std::string label, int total)
    : label_(std::move(label)), total_(total), enabled_(isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() {
    if (enabled_) std::fputs("\r\033[K", stderr);
}

void Progress::show(int done) {
    if (!enabled_ || total_ <= 0) return;
    constexpr int kWidth = 30;
    const int filled = done * kWidth / total_;
    std::fprintf(stderr, "\r%s [%.*s%*s] %d/%d", label_.c_str(), filled,
                 "##############################", kWidth - filled, "", done, total_);
    std::fflush(stderr);
}

}  // namespace mb::cli
