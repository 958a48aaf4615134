// The port list: every mapped port in numeric order, scanned again when the
// list opens, and a port map that does not parse reported, not ignored.
#include <gtest/gtest.h>

#include "tests/app/FormHarness.h"
#include "tests/support/qt/PtyPair.h"

TEST(PortList, EveryMappedPortIsListedInNumericOrderAndConnects) {
    PtyPair a, b, c;
    ASSERT_TRUE(a.ok() && b.ok() && c.ok());
    FormHarness h(
        QStringLiteral("COM100=%1,COM3=%2,COM25=%3").arg(a.device(), b.device(), c.device()));
    EXPECT_EQ(h.portList(), (QStringList{"COM3", "COM25", "COM100"}));
    h.c().Combo1->setCurrentIndex(2);
    h.click("OpenCOomPort");
    EXPECT_TRUE(h.form->portConnected());
    EXPECT_EQ(h.form->port().openPortNumber(), 100);
}

TEST(PortList, OpeningTheListFindsANewDeviceButNotWhileConnected) {
    PtyPair first, later;
    ASSERT_TRUE(first.ok() && later.ok());
    FormHarness h(QStringLiteral("COM1=%1,COM4=%1").arg(first.device()));
    QComboBox* list = h.c().Combo1;
    list->setCurrentIndex(1);
    mapPorts(QStringLiteral("COM1=%1,COM2=%2,COM4=%1").arg(first.device(), later.device()));
    list->showPopup();
    list->hidePopup();
    EXPECT_EQ(h.portList(), (QStringList{"COM1", "COM2", "COM4"}));
    EXPECT_EQ(list->currentText(), QStringLiteral("COM4")) << "the choice stays";

    h.click("OpenCOomPort");
    ASSERT_TRUE(h.form->portConnected());
    mapPorts(QStringLiteral("COM1=%1").arg(first.device()));
    list->showPopup();
    list->hidePopup();
    EXPECT_EQ(h.portList(), (QStringList{"COM1", "COM2", "COM4"}));
    EXPECT_TRUE(h.form->portConnected());
}

TEST(PortList, AMalformedMapIsReportedOnStandardErrorAndInTheTooltip) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& m) { warnings << m; });
    FormHarness h(QStringLiteral("COM1=%1,junk,=/dev/x,COM2=,PORT3=/dev/y").arg(pty.device()));
    qInstallMessageHandler(previous);
    EXPECT_EQ(h.portList(), QStringList{"COM1"});
    const QString tip = h.c().Combo1->toolTip();
    const QString said = warnings.join(QLatin1Char('\n'));
    for (const char* entry : {"\"junk\"", "\"=/dev/x\"", "\"COM2=\"", "\"PORT3=/dev/y\""}) {
        EXPECT_TRUE(tip.contains(QLatin1String(entry))) << entry << " in " << tip.toStdString();
        EXPECT_TRUE(said.contains(QLatin1String(entry))) << entry << " in " << said.toStdString();
    }
}
