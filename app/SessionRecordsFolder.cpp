#include "app/SessionRecordsFolder.h"

#include <cstdlib>
#include <string>

#include "record/RecordFolder.h"
#include "record/SessionRecord.h"

QString sessionRecordsFolder(QString& why) {
    const std::filesystem::path dir =
        mb::SessionRecord::defaultDirectory([](const char* name) { return std::getenv(name); });
    std::string error;
    if (!mb::makeRecordFolder(dir, error)) {
        why = QString::fromStdString(error);
        return {};
    }
    return QString::fromStdString(dir.string());
}
