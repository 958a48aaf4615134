// `decode --batch`: one frame per line, decoded into values that are reused
// from line to line and written straight into one output buffer.
#pragma once

#include <cstddef>
#include <cstdio>
#include <istream>
#include <string>
#include <string_view>

#include "cj188/Cj188Values.h"
#include "cli/FrameInput.h"
#include "core/ReadingView.h"
#include "mbus/MbusValues.h"

namespace mb::cli {

class BatchDecoder {
  public:
    explicit BatchDecoder(bool json) : json_(json) {}

    // Decodes line `number` of the input. Blank lines and lines whose first
    // non-blank character is '#' are skipped (-1); a frame gives its exit
    // status: 0 it passes (also after stray bytes, which are skipped as
    // `decode` skips them), 1 it fails its checks, 2 it is not a frame or not
    // hex text. The result goes to output(), a line about any failure or
    // skipped bytes to errors().
    int decodeLine(std::string_view line, std::size_t number);

    std::string& output() { return out_; }
    std::string& errors() { return err_; }

  private:
    void writeResult(const ReadingView& view, std::size_t number, std::size_t skippedBytes);
    void writeError(std::size_t number, std::string_view what, std::string_view reason);

    bool json_;
    Bytes bytes_;
    MbusValues mbus_;
    Cj188Values cj188_;
    std::string out_;
    std::string err_;
};

// Reads `in` to its end, writes results to `out` and failures to `err` as
// they come; returns the worst exit status of all lines (0 when none).
int decodeBatch(std::istream& in, bool json, std::FILE* out, std::FILE* err);

}  // namespace mb::cli
