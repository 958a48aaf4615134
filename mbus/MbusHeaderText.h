// The words of M-Bus header fields and of the problems that keep a frame
// from decoding.
#pragma once

#include <string>

#include "core/ReadingView.h"
#include "mbus/MbusValues.h"

namespace mb {

// Key, label and value of one header field; texts that are not static go
// into `scratch`.
HeaderFieldView mbusHeaderField(const MbusHeaderItem& item, std::string& scratch);

// Why the frame is no frame or failed its check ("checksum 12 != computed 34").
void appendFrameProblem(std::string& out, const MbusValues& values);

}  // namespace mb
