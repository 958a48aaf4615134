#include "cli/Progress.h"

#include <unistd.h>

#include <cstdio>

namespace mb::cli {

Progress::Progress(std::string label, int total)
    : label_(std::move(label)), total_(total), enabled_(isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() {
    if (enabled_) std::fputs("\r\033[K", stderr);
}

std::string progressBar(const std::string& label, int done, int total) {
    constexpr int kWidth = 30;
    const int filled = total > 0 ? done * kWidth / total : 0;
    return label + " [" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(kWidth - filled), ' ') + "] " + std::to_string(done) + "/" +
           std::to_string(total);
}

void Progress::show(int done) {
    if (!enabled_ || total_ <= 0) return;
    std::fprintf(stderr, "\r%s", progressBar(label_, done, total_).c_str());
    std::fflush(stderr);
}

}  // namespace mb::cli
