// How fast and how reliably the meter answered, and the session record of the
// exchange: the window and the virtual meter on a pty.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/e2e/MeterBench.h"

namespace e2e {
namespace {

QStringList analysisLines(MeterBench& b) {
    return b.w().analysis().split(QLatin1Char('\n'));
}

int replyMilliseconds(const QString& line) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Reply in ([0-9.]+) ms$")).match(line);
    return m.hasMatch() ? static_cast<int>(m.captured(1).toDouble()) : -1;
}

TEST(ReplyTiming, ReplyTimeFollowsTheMetersDelay) {
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("late"),
                      QStringLiteral("--delay-ms"), QStringLiteral("300")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::Cj188);
    bench.w().click("Bevelo1");
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }, 3000));
    const int ms = replyMilliseconds(analysisLines(bench).value(1));
    EXPECT_GE(ms, 300) << bench.w().analysis().toStdString();
    EXPECT_LT(ms, 900) << "the meter's delay plus the pty's and the loop's latency";
}

// A reply that comes after the timeout is reported late, not lost.
TEST(ReplyTiming, NoReplyLineThenALateReplyStillPasses) {
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("late"),
                      QStringLiteral("--delay-ms"), QStringLiteral("800")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    bench.w().form().setReplyTimeout(0.3);
    bench.w().click("Bevelo17");
    ASSERT_TRUE(waitFor([&] { return !bench.w().analysis().isEmpty(); }, 2000));
    EXPECT_EQ(bench.w().analysis(), QStringLiteral("No reply within 300 ms"));
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }, 3000));
    EXPECT_GE(replyMilliseconds(analysisLines(bench).value(1)), 800);
    EXPECT_EQ(analysisLines(bench).value(2), QStringLiteral("Late: after its 300 ms timeout"));
    EXPECT_EQ(bench.w().verdicts(), (QStringList{QStringLiteral("no-reply"), QStringLiteral("pass")}));
}

TEST(ReplyTiming, BytesThatFailTheirChecksumAreAnInvalidReply) {
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("bad-checksum")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::Cj188);
    bench.w().form().setReplyTimeout(0.3);
    bench.w().click("Bevelo1");
    ASSERT_TRUE(waitFor([&] { return !bench.w().analysis().isEmpty(); }, 2000));
    ASSERT_TRUE(bench.waitForAllSent());
    EXPECT_EQ(bench.w().analysis().toStdString(),
              QStringLiteral("No valid reply within 300 ms (%1 bytes received, checksum wrong)")
                  .arg(bench.sim.sent().size())
                  .toStdString());
}

// Every second answer spoiled: the tally since Start counts both kinds. It
// stands right under the verdict and reply time, above the readings.
TEST(ReplyTiming, ContinuousReadingKeepsATallyUnderTheVerdict) {
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("bad-checksum"),
                      QStringLiteral("--fault-every"), QStringLiteral("2")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::Cj188);
    bench.w().click("Bevelo11");
    bench.timer(Page::Cj188).setInterval(400);
    ASSERT_TRUE(waitFor([&] { return bench.requests(QStringLiteral("cj188 read-data")) >= 7; },
                        8000));
    bench.w().click("Bevelo12");
    // The last request's verdict (a pass, or an invalid reply at its timeout) brings the tally.
    const QRegularExpression tallyShape(
        QStringLiteral("^Requests (\\d+)  Pass (\\d+)  No reply (\\d+)  "
                       "Invalid (\\d+)  Reply min .+ median .+ max .+$"));
    // Check Pass！ and its reply time, or the one line of an invalid reply, come first.
    const auto tallyLine = [&] {
        const QStringList lines = analysisLines(bench);
        return lines.value(lines.value(0).startsWith(QStringLiteral("Check Pass")) ? 2 : 1);
    };
    ASSERT_TRUE(waitFor([&] { return tallyShape.match(tallyLine()).hasMatch(); }, 4000))
        << bench.w().analysis().toStdString();
    const QString tally = tallyLine();
    const QRegularExpressionMatch m = tallyShape.match(tally);
    ASSERT_TRUE(m.hasMatch()) << tally.toStdString();
    const int requests = m.captured(1).toInt(), passes = m.captured(2).toInt();
    const int noReply = m.captured(3).toInt(), invalid = m.captured(4).toInt();
    EXPECT_GE(requests, 7);
    EXPECT_GE(passes, 3);
    EXPECT_GE(invalid, 2) << "every second answer has a wrong checksum";
    EXPECT_LE(noReply, 1) << "the meter answers every request";
    EXPECT_LE(requests - passes - invalid - noReply, 1) << "only the last request may be open";
    processEventsFor(400);
    EXPECT_EQ(tallyLine(), tally) << "Stop freezes the tally";
}

// The record holds exactly the bytes the pty carried, in order, after a flood.
TEST(SessionRecordOfTheWindow, KeepsEveryByteOfAFlood) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("flood"),
                      QStringLiteral("--flood-bytes"), QStringLiteral("200000")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    bench.w().click("Bevelo17");
    // The reply comes after the flood: once it passed, the meter has written everything.
    ASSERT_TRUE(waitFor(
        [&] {
            bench.sim.pump();  // the meter logs every byte; a full log pipe would stop it
            return bench.w().checkPass();
        },
        30000));
    ASSERT_TRUE(bench.waitForAllSent(15000));
    const Bytes sent = bench.sim.sent(), received = bench.sim.received();
    ASSERT_GT(sent.size(), 200000u);
    bench.window.reset();  // closing the window finishes the record

    const QStringList files =
        QDir(data.path() + QStringLiteral("/MeterBench/logs")).entryList({"*.jsonl"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    QFile file(data.path() + QStringLiteral("/MeterBench/logs/") + files.first());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString rx, tx;
    QStringList events;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty()) continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        ASSERT_FALSE(o.isEmpty()) << line.toStdString();
        EXPECT_EQ(o.value(QStringLiteral("port")).toString(), QStringLiteral("COM1"));
        const QString dir = o.value(QStringLiteral("dir")).toString();
        if (dir == QStringLiteral("rx")) rx += o.value(QStringLiteral("hex")).toString() + ' ';
        if (dir == QStringLiteral("tx")) tx += o.value(QStringLiteral("hex")).toString() + ' ';
        if (dir == QStringLiteral("event")) events << o.value(QStringLiteral("text")).toString();
    }
    const QString expectedRx = paneEcho(sent);
    ASSERT_EQ(rx.size(), expectedRx.size()) << "bytes in the record vs on the line, x3";
    EXPECT_TRUE(rx == expectedRx) << "same bytes, same order";
    EXPECT_EQ(tx, paneEcho(received));
    EXPECT_TRUE(events.value(0).startsWith(QStringLiteral("connected 2400,E,8,1")));
    qunsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace e2e
