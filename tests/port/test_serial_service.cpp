// The serial service against real pseudo-terminals.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "tests/support/qt/PtyPair.h"
#include "tests/support/qt/WaitFor.h"
#include "port/SerialPortService.h"
#include "port/SerialSettings.h"

namespace {

PortMap mapOf(int n, const QString& device) {
    PortMap map;
    map.set(n, device);
    return map;
}

}  // namespace

TEST(SerialService, DefaultSettingsOpenOnAPtyAndBytesPassBothWays) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialPortService port;
    port.setPortMap(mapOf(4, pty.device()));
    const OpenResult r = port.open(4, QStringLiteral("2400,E,8,1"));
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.openPortNumber(), 4);

    QSignalSpy received(&port, &SerialPortService::bytesReceived);
    pty.send(QByteArray::fromHex("680102"));
    ASSERT_TRUE(received.wait(1000));
    ASSERT_TRUE(waitFor([&] { return port.bytesWaiting() == qint64(3); }, 1000));
    EXPECT_EQ(port.readAll(), QByteArray::fromHex("680102"));

    EXPECT_TRUE(port.write(QByteArray::fromHex("FEFE68")));
    EXPECT_EQ(pty.receive(3), QByteArray::fromHex("FEFE68"));
}

TEST(SerialService, EveryParityAndStopChoiceThatLinuxKnowsOpensAPty) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialPortService port;
    port.setPortMap(mapOf(1, pty.device()));
    for (const char* settings : {"9600,N,8,1", "300,O,7,2", "115200,M,6,1", "4800,S,8,2"}) {
        const OpenResult r = port.open(1, QString::fromLatin1(settings));
        EXPECT_TRUE(r.ok()) << settings << ": " << r.reason.toStdString();
        port.close();
        EXPECT_FALSE(port.isOpen());
    }
}

TEST(SerialService, UnusableSettingsOrMissingDevicesFailWithoutOpening) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialPortService port;
    PortMap map = mapOf(1, pty.device());
    map.set(2, QStringLiteral("/dev/meterbench-no-such-device"));
    port.setPortMap(map);

    EXPECT_EQ(port.open(1, QStringLiteral("2400,X,8,1")).outcome, OpenOutcome::SettingsRefused);
    EXPECT_EQ(port.open(1, QStringLiteral(",E,8,1")).outcome, OpenOutcome::SettingsRefused);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.open(2, QStringLiteral("2400,E,8,1")).outcome, OpenOutcome::NotFound);
    EXPECT_EQ(port.open(3, QStringLiteral("2400,E,8,1")).outcome, OpenOutcome::NotFound);
    EXPECT_EQ(port.probe(2).outcome, OpenOutcome::NotFound);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write(QByteArray("x")));
}

TEST(SerialService, APortHeldByAnotherOwnerIsBusyNotRefused) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialPortService holder;
    holder.setPortMap(mapOf(1, pty.device()));
    ASSERT_TRUE(holder.open(1, QStringLiteral("2400,E,8,1")).ok());

    SerialPortService other;
    other.setPortMap(mapOf(3, pty.device()));
    EXPECT_EQ(other.probe(3).outcome, OpenOutcome::Busy);
    const OpenResult r = other.open(3, QStringLiteral("2400,E,8,1"));
    EXPECT_EQ(r.outcome, OpenOutcome::Busy);
    EXPECT_TRUE(r.reason.contains(pty.device()));

    holder.close();
    EXPECT_EQ(other.probe(3).outcome, OpenOutcome::Opened);
    EXPECT_FALSE(other.isOpen()) << "a probe closes again";
}

TEST(SerialService, AVanishedPeerClosesThePortAndIsReportedOnce) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialPortService port;
    port.setPortMap(mapOf(1, pty.device()));
    ASSERT_TRUE(port.open(1, QStringLiteral("2400,E,8,1")).ok());
    QSignalSpy lost(&port, &SerialPortService::connectionLost);

    pty.closeMaster();
    ASSERT_TRUE(lost.wait(1000));
    EXPECT_FALSE(port.isOpen());
    QTest::qWait(200);  // a port left open would keep reporting errors here
    EXPECT_EQ(lost.count(), 1);
}

TEST(OpenFailure, PermissionErrorsAreToldApartByAccess) {
    EXPECT_EQ(classifyOpenError(QSerialPort::PermissionError, true, true), OpenOutcome::Busy);
    EXPECT_EQ(classifyOpenError(QSerialPort::PermissionError, true, false),
              OpenOutcome::PermissionDenied);
    EXPECT_EQ(classifyOpenError(QSerialPort::PermissionError, false, false), OpenOutcome::NotFound);
    EXPECT_EQ(classifyOpenError(QSerialPort::DeviceNotFoundError, true, true),
              OpenOutcome::NotFound);
    EXPECT_EQ(classifyOpenError(QSerialPort::UnsupportedOperationError, true, true),
              OpenOutcome::SettingsRefused);
    EXPECT_EQ(classifyOpenError(QSerialPort::UnknownError, true, true), OpenOutcome::Failed);
}
