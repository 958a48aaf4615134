// What the meter said, in "Data Analysis" under "Check Pass！": the virtual
// meter's water, heat and M-Bus meters decoded end to end.
#include <gtest/gtest.h>

#include "tests/e2e/MeterBench.h"

namespace e2e {
namespace {

struct ReadingCase {
    const char* name;
    Page page;
    const char* deviceId;
    const char* meterType;
    std::vector<const char*> linesStartingWith;
};

TEST(Readings, EachMeterOfTheVirtualLineIsDecodedUnderCheckPass) {
    const ReadingCase cases[] = {
        {"water meter", Page::Cj188, "", " - 10H",
         {"Address  78330000000000", "Current cumulative flow  ", "Valve  "}},
        {"heat meter", Page::Cj188, "0000000001", " - 20H",
         {"Address  78330000000001", "Current heat  ", "Supply temperature  ", "Working hours  "}},
        {"M-Bus heat meter", Page::En1434, "1", nullptr,
         {"Manufacturer  ", "Energy  ", "Energy (storage 1)  ", "Power (maximum)  ",
          "Flow temperature  "}},
    };
    for (const ReadingCase& c : cases) {
        SCOPED_TRACE(c.name);
        MeterBench bench;
        CONNECT_BENCH_OR_SKIP(bench);
        bench.usePage(c.page);
        if (c.page == Page::Cj188) {
            bench.w().type(bench.w().c().Text1, QString::fromLatin1(c.deviceId));
            bench.w().chooseMeterType(QString::fromLatin1(c.meterType));
        }
        bench.w().click(c.page == Page::Cj188 ? "Bevelo1" : "Bevelo17");
        ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }, 3000));
        const QStringList lines = bench.w().analysis().split(QLatin1Char('\n'));
        for (const char* start : c.linesStartingWith) {
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                    // A header field may follow another on its line.
                                    [&](const QString& l) {
                                        return l.startsWith(start) || l.contains(QStringLiteral("    ") + start);
                                    }))
                << start << " missing in:\n" << bench.w().analysis().toStdString();
        }
    }
}

}  // namespace
}  // namespace e2e
