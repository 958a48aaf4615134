#include "app/RecordHistory.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QTimeZone>
#include <deque>
#include <optional>

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

// A count the record holds (microseconds, a storage number): a whole number
// from 0 up, or nothing when the record was edited or damaged into anything else.
std::optional<std::int64_t> count(const QJsonValue& value) {
    const qint64 whole = value.toInteger(-1);
    if (whole < 0) return std::nullopt;
    return whole;
}

// The record's records back as far as the history needs them.
mb::Reading readingOf(const QJsonObject& json) {
    mb::Reading reading;
    reading.protocol = json.value(QLatin1String("protocol")).toString().toStdString();
    for (const QJsonValue& item : json.value(QLatin1String("records")).toArray()) {
        const QJsonObject r = item.toObject();
        // Absent is 0, as the writer leaves nothing out; anything but a count is damage.
        const auto field = [&r](const char* key) {
            const QJsonValue value = r.value(QLatin1String(key));
            return value.isUndefined() ? std::optional<std::int64_t>(0) : count(value);
        };
        const auto storage = field("storage"), tariff = field("tariff"), subunit = field("subunit");
        if (!storage || !tariff || !subunit) continue;
        mb::Record record;
        record.quantity = r.value(QLatin1String("quantity")).toString().toStdString();
        record.function = functionNamed(r.value(QLatin1String("function")).toString());
        record.storage = static_cast<std::uint64_t>(*storage);
        record.tariff = static_cast<std::uint64_t>(*tariff);
        record.subunit = static_cast<std::uint64_t>(*subunit);
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
        if (const auto replyUs = count(event.value(QLatin1String("reply_us"))))
            result.replyTime = std::chrono::microseconds(*replyUs);
        result.reading = readingOf(event.value(QLatin1String("reading")).toObject());
        rows.push_back(table.rowFor(result, std::chrono::system_clock::time_point(std::chrono::microseconds(*timeUs))));
        if (rows.size() > table.capacity()) rows.pop_front();
    }
    return {std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end())};
}
