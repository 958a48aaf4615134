#include "app/RecordHistory.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QTimeZone>
#include <deque>

namespace {

std::optional<mb::Verdict> verdictNamed(const QString& name) {
    using mb::Verdict;
    for (Verdict v : {Verdict::Pass, Verdict::Acknowledged, Verdict::MeterError, Verdict::NoReply, Verdict::Invalid,
                      Verdict::Collision, Verdict::NotSent})
        if (name == QLatin1String(mb::verdictName(v).data())) return v;
    return std::nullopt;
}

mb::RecordFunction functionNamed(const QString& name) {
    using F = mb::RecordFunction;
    if (name == QLatin1String("instantaneous")) return F::Instantaneous;
    if (name == QLatin1String("maximum")) return F::Maximum;
    if (name == QLatin1String("minimum")) return F::Minimum;
    if (name == QLatin1String("error")) return F::Error;
    if (name == QLatin1String("manufacturer")) return F::Manufacturer;
    return F::Other;
}

// The record's records back as far as the history needs them.
mb::Reading readingOf(const QJsonObject& json) {
    mb::Reading reading;
    reading.protocol = json.value(QLatin1String("protocol")).toString().toStdString();
    for (const QJsonValue& item : json.value(QLatin1String("records")).toArray()) {
        const QJsonObject r = item.toObject();
        mb::Record record;
        record.quantity = r.value(QLatin1String("quantity")).toString().toStdString();
        record.function = functionNamed(r.value(QLatin1String("function")).toString());
        record.storage = static_cast<std::uint64_t>(r.value(QLatin1String("storage")).toDouble());
        record.tariff = static_cast<std::uint64_t>(r.value(QLatin1String("tariff")).toDouble());
        record.subunit = static_cast<std::uint64_t>(r.value(QLatin1String("subunit")).toDouble());
        record.unit = r.value(QLatin1String("unit")).toString().toStdString();
        if (r.contains(QLatin1String("error"))) record.error = r.value(QLatin1String("error")).toString().toStdString();
        if (const QJsonValue value = r.value(QLatin1String("value")); value.isDouble()) record.value = value.toDouble();
        reading.records.push_back(std::move(record));
    }
    return reading;
}

// "2026-12-08T01:19:00.123456Z" to microseconds since the epoch.
std::optional<std::int64_t> recordTimeUs(const QString& stamp) {
    if (stamp.size() != 27 || !stamp.endsWith(QLatin1Char('Z')) || stamp[19] != QLatin1Char('.')) return std::nullopt;
    QDateTime seconds = QDateTime::fromString(stamp.left(19), Qt::ISODate);
    if (!seconds.isValid()) return std::nullopt;
    seconds.setTimeZone(QTimeZone::utc());
    bool ok = false;
    const qint64 micros = stamp.mid(20, 6).toLongLong(&ok);
    if (!ok) return std::nullopt;
    return seconds.toSecsSinceEpoch() * 1'000'000 + micros;
}

}  // namespace

std::vector<mb::HistoryRow> readRecordHistory(const QString& path, mb::HistoryTable& table,
                                              const QString& protocol, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    std::deque<mb::HistoryRow> rows;
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty()) continue;
        QJsonParseError parse;
        const QJsonObject event = QJsonDocument::fromJson(line, &parse).object();
        if (parse.error != QJsonParseError::NoError) {
            *error = QObject::tr("Not a session record: line %1: %2").arg(lineNumber).arg(parse.errorString());
            return {};
        }
        // Only verdict events of this protocol make rows; bytes and connection events do not.
        if (event.value(QLatin1String("protocol")).toString() != protocol) continue;
        // A step of an operation of several; the operation's own result makes the row.
        if (event.value(QLatin1String("step")).toBool()) continue;
        const std::optional<mb::Verdict> verdict = verdictNamed(event.value(QLatin1String("verdict")).toString());
        const std::optional<std::int64_t> timeUs = recordTimeUs(event.value(QLatin1String("t")).toString());
        if (!verdict || !timeUs) continue;
        mb::ExchangeResult result;
        result.verdict = *verdict;
        if (const QJsonValue reply = event.value(QLatin1String("reply_us")); reply.isDouble())
            result.replyTime = std::chrono::microseconds(static_cast<std::int64_t>(reply.toDouble()));
        result.reading = readingOf(event.value(QLatin1String("reading")).toObject());
        rows.push_back(table.rowFor(result, std::chrono::system_clock::time_point(std::chrono::microseconds(*timeUs))));
        if (rows.size() > table.capacity()) rows.pop_front();
    }
    return {std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end())};
}
