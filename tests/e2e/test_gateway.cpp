// The window on a network gateway: COM1 mapped to the virtual meter served
// over TCP (METERBENCH_PORTS="COM1=tcp://127.0.0.1:PORT").
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>

#include "tests/e2e/MeterBench.h"
#include "tests/support/qt/DataHome.h"

namespace e2e {
namespace {

TEST(GatewayWindow, ReadsOverTcpAndADroppedConnectionIsALostPort) {
    TempDataHome data;
    ASSERT_TRUE(data.isValid());
    MeterBench bench({QStringLiteral("--tcp"), QStringLiteral("0")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    bench.w().click("Bevelo17");
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }, 3000)) << bench.w().analysis().toStdString();
    EXPECT_EQ(bench.requests(QStringLiteral("mbus req-ud2")), 1);

    bench.sim.stop();  // the gateway goes away
    ASSERT_TRUE(waitFor([&] { return !bench.w().form().portConnected(); }, 3000));
    ASSERT_EQ(bench.w().prompts().size(), 1u);
    EXPECT_EQ(bench.w().prompts()[0].text, kPromptCom1);
    EXPECT_TRUE(bench.w().prompts()[0].informativeText.startsWith(bench.sim.path() + QStringLiteral(": ")))
        << bench.w().prompts()[0].informativeText.toStdString();
    EXPECT_EQ(bench.w().c().Combo1->count(), 1) << "a gateway stays listed after the loss";

    bench.window.reset();  // closing the window finishes the record
    const QStringList records = data.records();
    ASSERT_EQ(records.size(), 1);
    QFile record(records.first());
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(record.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("connected 2400,E,8,1 over ") + bench.sim.path() +
                              QStringLiteral(", round trip ")))
        << text.toStdString();
}

// Nothing is tried while listing: a gateway nobody answers is listed, and
// Connect says why it does not open.
TEST(GatewayWindow, ARefusalIsSaidAtConnect) {
    QString address;
    {
        SimMeter sim({QStringLiteral("--tcp"), QStringLiteral("0")});
        START_SIM_OR_SKIP(sim);
        address = sim.path();  // free again once the meter has ended
    }
    Window w(address);
    EXPECT_EQ(w.c().Combo1->currentText(), QStringLiteral("COM1"));
    EXPECT_FALSE(w.connect());
    ASSERT_EQ(w.prompts().size(), 1u);
    EXPECT_EQ(w.prompts()[0].text, kPromptCom1);
    EXPECT_EQ(w.prompts()[0].informativeText,
              address + QStringLiteral(": connection refused (nothing listens on port ") +
                  address.section(QLatin1Char(':'), -1) + QStringLiteral(" of 127.0.0.1)."));
}

}  // namespace
}  // namespace e2e
