// A session record read back into history rows takes only what the window
// could have written: a reply time or a storage number edited or damaged into
// something that is not a count makes no reply time and no record.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/RecordHistory.h"

namespace {

QByteArray event(const QByteArray& replyUs, const QByteArray& storage) {
    QByteArray line =
        R"({"t": "2026-12-08T14:56:32.649840Z", "dir": "event", "verdict": "pass", "protocol": "mbus", )"
        R"("reply_us": REPLY, "reading": {"protocol": "mbus", "records": [{"quantity": "Energy", )"
        R"("function": "instantaneous", "storage": STORAGE, "tariff": 0, "subunit": 0, "unit": "Wh", )"
        R"("value": 4711000}]}})";
    return line.replace("REPLY", replyUs).replace("STORAGE", storage) + '\n';
}

TEST(RecordHistory, OnlyCountsBecomeReplyTimesAndStorageNumbers) {
    struct Case {
        QByteArray replyUs, storage;
        std::optional<std::int64_t> rowReplyUs;
        bool energyShown;
    };
    const Case cases[] = {
        {"2928", "0", 2928, true},           {"1e300", "0", std::nullopt, true},
        {"-5", "0", std::nullopt, true},     {"2.5", "0", std::nullopt, true},
        {"\"12\"", "0", std::nullopt, true}, {"2928", "-1", 2928, false},
        {"2928", "1e30", 2928, false},       {"2928", "0.5", 2928, false},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("record.jsonl"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(event(c.replyUs, c.storage));
        file.close();
        mb::HistoryTable table("mbus");
        QString error;
        const std::vector<mb::HistoryRow> rows =
            readRecordHistory(path, table, QStringLiteral("mbus"), &error);
        const std::string what = (c.replyUs + " / " + c.storage).toStdString();
        ASSERT_EQ(rows.size(), 1u) << what << ": " << error.toStdString();
        EXPECT_EQ(rows[0].replyUs, c.rowReplyUs) << what;
        const bool energyShown = !table.columns().empty() && rows[0].value(0).has_value();
        EXPECT_EQ(energyShown, c.energyShown) << what;
    }
}

}  // namespace
