// The serial service against real pseudo-terminals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
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

TEST(OpenFailure, QtErrorsAreToldApartByWhatTheDeviceIs) {
    const DeviceFacts usable{true, true, true, false};
    const DeviceFacts forbidden{true, false, false, false};
    const DeviceFacts plainFile{true, true, false, false};
    const DeviceFacts longPath{true, true, true, true};
    const struct {
        QSerialPort::SerialPortError error;
        DeviceFacts facts;
        OpenOutcome outcome;
    } cases[] = {
        {QSerialPort::PermissionError, usable, OpenOutcome::Busy},
        {QSerialPort::PermissionError, forbidden, OpenOutcome::PermissionDenied},
        {QSerialPort::PermissionError, longPath, OpenOutcome::Failed},
        {QSerialPort::PermissionError, plainFile, OpenOutcome::NotSerialDevice},
        {QSerialPort::UnsupportedOperationError, usable, OpenOutcome::SettingsRefused},
        {QSerialPort::UnsupportedOperationError, plainFile, OpenOutcome::NotSerialDevice},
        {QSerialPort::UnknownError, usable, OpenOutcome::Failed},
    };
    for (const auto& k : cases)
        EXPECT_EQ(classifyOpenError(k.error, k.facts), k.outcome) << int(k.error);
    // The one reason that needs the user to act says what to do.
    const QString denied =
        openFailureReason(OpenOutcome::PermissionDenied, "/dev/x", forbidden, {});
    EXPECT_TRUE(denied.contains("dialout") && denied.contains("log in again"))
        << denied.toStdString();
}

// A client killed while connected leaves the pty's termios as it set them;
// the pty kept neither the parity bit nor fewer than 8 data bits.
TEST(SerialService, APtyLeftByAKilledClientOpensWithTheSameSettings) {
    for (const char* settings : {"2400,E,8,1", "9600,O,7,2"}) {
        PtyPair pty;
        ASSERT_TRUE(pty.ok());
        SerialPortService first;
        first.setPortMap(mapOf(1, pty.device()));
        ASSERT_TRUE(first.open(1, QString::fromLatin1(settings)).ok()) << settings;
        const int fd = ::open(QFile::encodeName(pty.device()).constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios left{};
        ASSERT_EQ(::tcgetattr(fd, &left), 0);
        first.close();  // restores the termios it found: a killed client could not
        ASSERT_EQ(::tcsetattr(fd, TCSANOW, &left), 0);

        SerialPortService next;
        next.setPortMap(mapOf(1, pty.device()));
        const OpenResult r = next.open(1, QString::fromLatin1(settings));
        EXPECT_TRUE(r.ok()) << settings << ": " << r.reason.toStdString();
        ::close(fd);
    }
}

TEST(SerialService, OneAndAHalfStopBitsAreRefusedWhereTermiosHasNone) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialPortService port;
    port.setPortMap(mapOf(1, pty.device()));
    const OpenResult r = port.open(1, QStringLiteral("2400,E,8,1.5"));
#ifdef Q_OS_WIN
    EXPECT_TRUE(r.ok());
#else
    EXPECT_EQ(r.outcome, OpenOutcome::SettingsRefused);
    EXPECT_EQ(r.reason, QStringLiteral("1.5 stop bits are not supported by this system"));
    EXPECT_FALSE(port.isOpen());
#endif
}

// Each failure names its real cause, for the prompt's informative text.
TEST(SerialService, FailuresCarryTheirReason) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The lock file's name is the whole path with '/' made '_': past NAME_MAX it cannot exist.
    const QString deep = dir.filePath(QString(120, QLatin1Char('d')) + QLatin1Char('/') +
                                      QString(120, QLatin1Char('e')));
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString longLink = deep + QLatin1Char('/') + QString(40, QLatin1Char('p'));
    ASSERT_TRUE(QFile::link(pty.device(), longLink));

    SerialPortService port;
    PortMap map;
    map.set(1, QStringLiteral("/dev/null"));
    map.set(2, dir.path());
    map.set(3, QStringLiteral("/dev/meterbench-no-such-device"));
    map.set(4, longLink);
    port.setPortMap(map);
    const struct {
        int port;
        const char* reasonHas;
    } cases[] = {{1, "not a serial device"},
                 {2, "not a serial device"},
                 {3, "no such device"},
                 {4, "too long for its lock file"}};
    for (const auto& k : cases) {
        const OpenResult r = port.open(k.port, QStringLiteral("2400,E,8,1"));
        EXPECT_FALSE(r.ok()) << k.port;
        EXPECT_NE(r.outcome, OpenOutcome::Busy) << k.port;
        EXPECT_TRUE(r.reason.contains(QLatin1String(k.reasonHas))) << r.reason.toStdString();
    }
}
