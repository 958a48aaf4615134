// A session record read back into a reading history: every exchange event of
// one protocol becomes the row it made when it was live (same time, verdict,
// reply time and values).
#pragma once

#include <QString>
#include <vector>

#include "core/HistoryTable.h"

// The rows of `protocol`'s exchanges in the record at `path`, the newest
// table.capacity() of them; quantities new to `table` become its columns.
// On failure `error` says why and no rows are returned.
std::vector<mb::HistoryRow> readRecordHistory(const QString& path, mb::HistoryTable& table,
                                              const QString& protocol, QString* error);
