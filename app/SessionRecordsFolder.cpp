#include "app/SessionRecordsFolder.h"

#include <cstdlib>
#include <string>

#include "record/RecordFile.h"
#include "record/SessionRecord.h"

QString sessionRecordsFolder() {
    const std::filesystem::path dir =
        mb::SessionRecord::defaultDirectory([](const char* name) { return std::getenv(name); });
    std::string error;
    if (!mb::makePrivateDirectory(dir, error)) {
        qWarning("MeterBench: %s", error.c_str());
        return {};
    }
    return QString::fromStdString(dir.string());
}
