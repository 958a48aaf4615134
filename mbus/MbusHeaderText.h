// The words of M-Bus header fields.
#pragma once

#include <string>

#include "core/ReadingView.h"
#include "mbus/MbusValues.h"

namespace mb {

// Key, label and value of one header field; texts that are not static go
// into `scratch`.
HeaderFieldView mbusHeaderField(const MbusHeaderItem& item, std::string& scratch);

}  // namespace mb
