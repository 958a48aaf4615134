// Opening a long session record into the reading history (Open session
// record…): a continuous reading of 10,000 and 100,000 M-Bus exchanges, each
// written as the window writes it (request, answer, verdict with its reading).
// Reports the record's size and the time until the rows are in the history.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "app/HistoryModel.h"
#include "app/RecordHistory.h"

namespace {

// One exchange of the virtual heat meter as a record holds it, at second `i`.
QByteArray exchangeLines(int i) {
    const QByteArray t = QByteArrayLiteral("2026-12-08T") + QByteArray::number(10 + i / 3600 % 10) + ':' +
                         QByteArray::number(10 + i / 60 % 50) + ':' + QByteArray::number(10 + i % 50) + ".500000Z";
    QByteArray out;
    out += R"({"t": ")" + t + R"(", "port": "COM1", "dir": "tx", "hex": "10 5B 01 5C 16"})" "\n";
    out += R"({"t": ")" + t + R"(", "port": "COM1", "dir": "rx", "hex": "68 55 55 68 08 01 72 78 56 34 12 2D 4D )"
           R"(01 04 00 00 00 00 0C 06 11 47 00 00 0C 14 56 34 12 00 0B 2B 50 24 00 0B 3B 12 03 00 0A 5A 52 06 0A )"
           R"(5E 48 04 0B 61 40 20 00 04 6D 38 0E 48 3C 0A 27 21 10 0C 78 78 56 34 12 4C 06 00 42 00 00 1B 2B 80 )"
           R"(39 00 06 6D 02 34 4E 48 3C 00 B4 16"})" "\n";
    out += R"({"t": ")" + t + R"(", "port": "COM1", "dir": "event", "text": "pass, Reply in 3 ms", "verdict": "pass", )"
           R"("protocol": "mbus", "reply_us": 2928, "reading": {"protocol":"mbus","check":"pass","header":{"frame":)"
           R"x("RSP_UD","address":1,"id":"12345678","manufacturer":"SIM","version":1,"medium":"Heat (outlet)"},)x"
           R"("records":[)";
    const char* records[][3] = {{"Energy", "Wh", "4711000"},      {"Volume", "m^3", "1234.56"},
                                {"Power", "W", "2450"},           {"Volume flow", "m^3/h", "0.312"},
                                {"Flow temperature", "°C", "65.2"}, {"Return temperature", "°C", "44.8"}};
    for (std::size_t r = 0; r < std::size(records); ++r) {
        if (r > 0) out += ',';
        out += R"({"quantity":")" + QByteArray(records[r][0]) +
               R"(","function":"instantaneous","storage":0,"tariff":0,"subunit":0,"unit":")" +
               QByteArray(records[r][1]) + R"(","value":)" + QByteArray(records[r][2]) + '}';
    }
    out += "]}}\n";
    return out;
}

void openRecord(benchmark::State& state) {
    const int exchanges = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("record.jsonl"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return state.SkipWithError("cannot write the record");
    for (int i = 0; i < exchanges; ++i) file.write(exchangeLines(i));
    file.close();
    for (auto _ : state) {
        HistoryModel model(QStringLiteral("mbus"));
        QElapsedTimer clock;
        clock.start();
        QString error;
        std::vector<mb::HistoryRow> rows = readRecordHistory(path, model.table(), QStringLiteral("mbus"), &error);
        model.replaceRows(std::move(rows));
        state.counters["seconds"] = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        state.counters["record_MB"] = static_cast<double>(QFile(path).size()) / 1e6;
        if (!error.isEmpty() || model.rowCount() != exchanges) state.SkipWithError("rows missing");
    }
}

}  // namespace

BENCHMARK(openRecord)->Arg(10'000)->Arg(100'000)->Iterations(1)->Unit(benchmark::kSecond);
