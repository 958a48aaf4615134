// Start of a page's continuous reading, the same on both pages: with the port
// connected the page's timer is enabled and its interval field turns green;
// otherwise the failure prompt is shown and nothing changes. Start sends
// nothing itself (the first request goes out one interval later), and a second
// Start while running leaves the one timer running in its rhythm.
#pragma once

#include <QColor>

class PageOperations;

inline const QColor kRunningFieldColor{0x00, 0xFF, 0x00};

void StartContinuousReading(PageOperations& page);
