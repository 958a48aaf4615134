// A Reading as lines of text: what the Data Analysis pane shows under
// "Check Pass！" and what the command line prints.
#pragma once

#include <string>
#include <vector>

#include "core/Reading.h"
#include "core/ReadingView.h"

namespace mb {

// Header fields first ("Label  value"), then one line a record
// ("Quantity (qualifiers)  display"). A reading that is not a frame or failed
// its check gives a line that says so. Control characters the meter sent are
// shown as escapes, so a reply cannot drive a terminal.
std::vector<std::string> readingLines(const Reading& reading);

// The same lines for any decoded frame, each ended by '\n' (no line holds one).
void appendReadingText(std::string& out, const ReadingView& reading);

}  // namespace mb
