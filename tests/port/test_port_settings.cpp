// Port map, port text and settings text.
#include <gtest/gtest.h>

#include "port/GatewayAddress.h"
#include "port/PortMap.h"
#include "port/SerialSettings.h"

TEST(PortMap, EnvironmentTextIsTheWholeMap) {
    const PortMap map =
        PortMap::parse(QStringLiteral("COM1=/dev/pts/3, COM7=/dev/ttyUSB0,junk,COM=/x,COM0=/y"));
    ASSERT_EQ(map.entries().size(), 2u);
    EXPECT_EQ(map.device(1), QStringLiteral("/dev/pts/3"));
    EXPECT_EQ(map.device(7), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_TRUE(map.device(2).isEmpty());
    EXPECT_TRUE(PortMap::parse(QString()).entries().empty());
    EXPECT_EQ(PortMap::parse(QStringLiteral("COM100=/dev/pts/5")).device(100),
              QStringLiteral("/dev/pts/5"));
}

// A gateway entry is kept as written; one without a usable host and port is
// skipped and named, as any malformed entry is.
TEST(PortMap, GatewayEntries) {
    struct Case {
        const char* device;
        const char* host;  // nullptr: refused, named in problems()
        int port;
    };
    const Case cases[] = {
        {"tcp://192.0.2.10:10001", "192.0.2.10", 10001},
        {"TCP://gw-3.example:4001", "gw-3.example", 4001},
        {"tcp://[2001:db8::1]:950", "2001:db8::1", 950},
        {"tcp://192.0.2.10", nullptr, 0},
        {"tcp://:10001", nullptr, 0},
        {"tcp://192.0.2.10:0", nullptr, 0},
        {"tcp://192.0.2.10:70000", nullptr, 0},
        {"tcp://192.0.2.10:10001/x", nullptr, 0},
        {"tcp://user@192.0.2.10:10001", nullptr, 0},
    };
    for (const Case& c : cases) {
        const QString device = QString::fromLatin1(c.device);
        const PortMap map = PortMap::parse(QStringLiteral("COM3=") + device);
        const auto address = parseGatewayAddress(device);
        if (c.host) {
            EXPECT_EQ(map.device(3), device) << c.device;
            EXPECT_TRUE(map.problems().isEmpty()) << c.device;
            ASSERT_TRUE(address) << c.device;
            EXPECT_EQ(address->host, QString::fromLatin1(c.host));
            EXPECT_EQ(address->port, c.port);
        } else {
            EXPECT_TRUE(map.entries().empty()) << c.device;
            ASSERT_EQ(map.problems().size(), 1) << c.device;
            EXPECT_TRUE(map.problems()[0].contains(device)) << map.problems()[0].toStdString();
            EXPECT_FALSE(address) << c.device;
        }
    }
}

TEST(PortMap, EnvironmentVariableWinsEvenWhenItNamesNothing) {
    qputenv("METERBENCH_PORTS", "COM5=/dev/pts/9");
    EXPECT_EQ(PortMap::fromEnvironment().device(5), QStringLiteral("/dev/pts/9"));
    EXPECT_EQ(PortMap::fromEnvironment().entries().size(), 1u);
    qputenv("METERBENCH_PORTS", "");
    EXPECT_TRUE(PortMap::fromEnvironment().entries().empty());
    qunsetenv("METERBENCH_PORTS");
}

TEST(PortMap, SystemPortsNumberAdaptersFirstInNaturalOrder) {
    const PortMap map =
        PortMap::numberDevices({"/dev/ttyS1", "/dev/ttyUSB10", "/dev/ttyS0", "/dev/ttyACM0",
                                "/dev/ttyUSB2", "/dev/ttyAMA0", "/dev/ttyS10", "/dev/ttyS2"});
    const QStringList expected{"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyAMA0",
                               "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyS2",    "/dev/ttyS10"};
    ASSERT_EQ(map.entries().size(), static_cast<std::size_t>(expected.size()));
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(map.device(i + 1), expected[i]) << "COM" << i + 1;
}

TEST(PortMap, PortNumberComesFromCharactersFourAndFive) {
    EXPECT_EQ(portNumberFromText(QStringLiteral("COM7")), 7);
    EXPECT_EQ(portNumberFromText(QStringLiteral("COM12")), 12);
    EXPECT_EQ(portNumberFromText(QStringLiteral("COM3 Occupy")), 3);
    EXPECT_EQ(portNumberFromText(QStringLiteral("COM20 Occupy")), 20);
    EXPECT_EQ(portNumberFromText(QString()), 0);
    EXPECT_EQ(portNumberFromText(QStringLiteral("COM")), 0);
    EXPECT_EQ(portNumberFromText(QStringLiteral("COMx")), 0);
    // Three and more digits are the whole number, not its first two.
    EXPECT_EQ(portNumberFromText(QStringLiteral("COM100")), 100);
    EXPECT_EQ(portNumberFromText(QStringLiteral("COM256 Occupy")), 256);
}

TEST(SerialSettingsText, AcceptedValuesParse) {
    const auto s = parseSerialSettings(QStringLiteral("2400,E,8,1"));
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, (SerialSettings{2400, QSerialPort::EvenParity, QSerialPort::Data8,
                                  QSerialPort::OneStop}));
    const auto t = parseSerialSettings(QStringLiteral("115200,S,6,1.5"));
    ASSERT_TRUE(t);
    EXPECT_EQ(*t, (SerialSettings{115200, QSerialPort::SpaceParity, QSerialPort::Data6,
                                  QSerialPort::OneAndHalfStop}));
    EXPECT_EQ(parseSerialSettings(QStringLiteral("9600,N,7,2"))->parity, QSerialPort::NoParity);
    EXPECT_EQ(parseSerialSettings(QStringLiteral("9600,O,7,2"))->parity, QSerialPort::OddParity);
    EXPECT_EQ(parseSerialSettings(QStringLiteral("9600,M,7,2"))->parity, QSerialPort::MarkParity);
}

TEST(SerialSettingsText, AnythingElseIsRefused) {
    for (const char* bad : {"", "2400", "2400,E,8", "2400,E,8,1,1", "abc,E,8,1", "-2400,E,8,1",
                            "0,E,8,1", "2400,EVEN,8,1", "2400,X,8,1", "2400,E,9,1", "2400,E,5,1",
                            "2400,E,8,3", "2400,,8,1", "24 00,E,8,1", "99999999999,E,8,1"})
        EXPECT_FALSE(parseSerialSettings(QString::fromLatin1(bad))) << bad;
}
