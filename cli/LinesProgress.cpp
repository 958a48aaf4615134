#include "cli/LinesProgress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "cli/Progress.h"

namespace mb::cli {

LinesProgress::LinesProgress(std::vector<std::string> labels, std::vector<int> totals)
    : labels_(std::move(labels)), totals_(std::move(totals)), enabled_(isatty(STDERR_FILENO) == 1) {
    std::size_t width = 0;
    for (const auto& l : labels_) width = std::max(width, l.size());
    for (auto& l : labels_) l.resize(width, ' ');  // the bars line up
}

LinesProgress::~LinesProgress() {
    if (enabled_ && drawn_) std::fputc('\n', stderr);
}

void LinesProgress::show(const std::vector<int>& done) {
    if (!enabled_) return;
    std::string out;
    if (drawn_ && labels_.size() > 1) out += "\033[" + std::to_string(labels_.size() - 1) + "A";
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        out += "\r\033[K" + progressBar(labels_[i], i < done.size() ? done[i] : 0, totals_[i]);
        if (i + 1 < labels_.size()) out += '\n';
    }
    std::fputs(out.c_str(), stderr);
    std::fflush(stderr);
    drawn_ = true;
}

}  // namespace mb::cli
