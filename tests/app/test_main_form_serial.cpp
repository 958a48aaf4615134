// The window's serial link on real ptys: scan, Connect / Disconnect, busy and
// missing ports, a vanishing peer, the receive echo, counters, one event at a time.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <termios.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QSerialPort>
#include <QStyle>

#include "tests/app/FormHarness.h"
#include "tests/support/qt/DataHome.h"
#include "tests/support/qt/PtyPair.h"
#include "tests/support/qt/WaitFor.h"

namespace {

const QString kPromptTitle = QStringLiteral("Error Prompt (0x8002)");

// A CJ188 reply: 68 T A0..A6 C L DI0 DI1 SER CS 16, CS = sum of 68..SER.
QByteArray cj188Reply() {
    QByteArray f = QByteArray::fromHex("68109078563412337881031F9001");
    quint32 sum = 0;
    for (char b : f) sum += static_cast<quint8>(b);
    f.append(static_cast<char>(sum & 0xFF));
    f.append('\x16');
    return f;
}

// Holds `device` open in a second process, the way another program would.
class OtherProgram {
  public:
    explicit OtherProgram(const QString& device) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MB_HOLD_DEVICE"), device);
        m_process.setProcessEnvironment(env);
        m_process.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_filter=PortHolder.HoldsTheDeviceUntilStdinCloses")});
        m_process.waitForStarted(5000);
        QElapsedTimer clock;
        clock.start();
        while (!m_output.contains("held") && clock.elapsed() < 5000 &&
               m_process.state() == QProcess::Running) {
            m_process.waitForReadyRead(100);
            m_output += m_process.readAllStandardOutput();
        }
    }
    ~OtherProgram() {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000)) m_process.kill();
    }
    bool holding() const { return m_output.contains("held"); }

  private:
    QProcess m_process;
    QByteArray m_output;
};

}  // namespace

// Runs only as the child of OtherProgram.
TEST(PortHolder, HoldsTheDeviceUntilStdinCloses) {
    const QString device = qEnvironmentVariable("MB_HOLD_DEVICE");
    if (device.isEmpty())
        GTEST_SKIP()
            << "helper process of the busy-port test; it runs only when started by that test";
    QSerialPort port(device);
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    char c;
    while (std::fread(&c, 1, 1, stdin) == 1) {
    }
}

TEST(MainFormSerial, ConnectAndDisconnectOnAPty) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    FormHarness h(QStringLiteral("COM2=%1,COM5=/dev/meterbench-missing").arg(pty.device()));
    MainForm& f = *h.form;
    EXPECT_EQ(h.portList(), QStringList{"COM2"});
    EXPECT_EQ(h.c().Combo1->currentText(), QStringLiteral("COM2"));
    EXPECT_EQ(h.c().Combo1->itemData(0, Qt::ToolTipRole).toString(), pty.device());

    h.c().Combo2->setEditText(QStringLiteral("9600"));
    h.c().Combo3->setCurrentIndex(0);  // NONE
    f.page(1).timer().setEnabled(true);
    h.click("OpenCOomPort");
    EXPECT_TRUE(h.prompts->shown.empty());
    EXPECT_TRUE(f.portConnected());
    EXPECT_TRUE(f.port().isOpen());
    EXPECT_EQ(h.caption("OpenCOomPort"), QStringLiteral("Disconnect"));
    EXPECT_EQ(h.c().Shape1->color(), QColor(0x00, 0xC0, 0x00));
    EXPECT_TRUE(h.combosDisabled());
    EXPECT_FALSE(f.page(1).timer().isEnabled()) << "Connect stops both readings";
    EXPECT_EQ(pty.outputSpeed(), unsigned(B9600)) << "the chosen baud rate reached the device";
    EXPECT_EQ(f.serialSettings(), QStringLiteral("9600,N,8,1"));

    EXPECT_TRUE(f.port().write(QByteArray::fromHex("FEFE")));
    EXPECT_EQ(pty.receive(2), QByteArray::fromHex("FEFE"));

    f.page(0).timer().setEnabled(true);
    h.click("OpenCOomPort");
    EXPECT_FALSE(f.portConnected());
    EXPECT_FALSE(f.port().isOpen());
    EXPECT_EQ(h.caption("OpenCOomPort"), QStringLiteral("Connect"));
    EXPECT_EQ(h.c().Shape1->color(), QColor(Qt::black));
    EXPECT_TRUE(h.combosEnabled());
    EXPECT_FALSE(f.page(0).timer().isEnabled()) << "Disconnect stops both readings";
    EXPECT_EQ(h.portList(), QStringList{"COM2"}) << "the port is listed again, free";
    EXPECT_TRUE(h.prompts->shown.empty());
    EXPECT_FALSE(f.port().write(QByteArray::fromHex("FE")));
}

TEST(MainFormSerial, DefaultSettingsConnectOnAPty) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    FormHarness h(QStringLiteral("COM1=%1").arg(pty.device()));
    h.click("OpenCOomPort");
    EXPECT_TRUE(h.form->portConnected()) << (h.prompts->shown.empty() ? "" : "prompt shown");
    EXPECT_EQ(pty.outputSpeed(), unsigned(B2400));
    EXPECT_EQ(h.form->serialSettings(), QStringLiteral("2400,E,8,1"));

    h.click("OpenCOomPort");
    h.c().Combo3->setCurrentIndex(4);  // SPACE
    h.c().Combo5->setCurrentIndex(2);  // 2
    h.c().Combo4->setCurrentIndex(1);  // 7
    h.click("OpenCOomPort");
    EXPECT_TRUE(h.form->portConnected());
    EXPECT_EQ(h.form->serialSettings(), QStringLiteral("2400,S,7,2"));
    EXPECT_TRUE(h.prompts->shown.empty());
}

TEST(MainFormSerial, APortHeldByAnotherProgramIsListedOccupyAndFailsToConnect) {
    PtyPair busy, free;
    ASSERT_TRUE(busy.ok() && free.ok());
    OtherProgram other(busy.device());
    ASSERT_TRUE(other.holding());
    FormHarness h(QStringLiteral("COM3=%1,COM4=%2").arg(busy.device(), free.device()));
    EXPECT_EQ(h.portList(), (QStringList{"COM3 Occupy", "COM4"}));
    EXPECT_EQ(h.c().Combo1->currentText(), QStringLiteral("COM3 Occupy"));
    // The entry is wider than the box; its start, which names the port, is what shows.
    QLineEdit* portEdit = h.c().Combo1->lineEdit();
    ASSERT_NE(portEdit, nullptr);
    EXPECT_EQ(portEdit->cursorPosition(), 0) << "after the scan";
    QTest::keyClick(h.c().Combo1, Qt::Key_Down);
    QTest::keyClick(h.c().Combo1, Qt::Key_Up);
    EXPECT_EQ(h.c().Combo1->currentText(), QStringLiteral("COM3 Occupy"));
    EXPECT_EQ(portEdit->cursorPosition(), 0) << "after choosing it from the list";
    // In the open list every entry reads in full.
    h.c().Combo1->showPopup();
    QAbstractItemView* view = h.c().Combo1->view();
    EXPECT_EQ(view->textElideMode(), Qt::ElideNone);
    const int textMargin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
    EXPECT_GE(view->viewport()->width(),
              QFontMetrics(view->font()).horizontalAdvance(QStringLiteral("COM3 Occupy")) +
                  2 * textMargin);
    h.c().Combo1->hidePopup();

    h.form->page(0).timer().setEnabled(true);
    h.click("OpenCOomPort");
    ASSERT_EQ(h.prompts->shown.size(), 1u);
    EXPECT_EQ(h.prompts->shown[0].text, QStringLiteral("PortCOM3 OccupyCannot Open！"));
    EXPECT_EQ(h.prompts->shown[0].title, kPromptTitle);
    EXPECT_TRUE(h.prompts->shown[0].critical);
    EXPECT_EQ(h.prompts->shown[0].informativeText,
              busy.device() + QStringLiteral(" is in use by another program."));
    EXPECT_FALSE(h.form->portConnected());
    EXPECT_EQ(h.caption("OpenCOomPort"), QStringLiteral("Connect"));
    EXPECT_EQ(h.c().Shape1->color(), QColor(Qt::black));
    EXPECT_TRUE(h.combosEnabled());
    EXPECT_TRUE(h.form->page(0).timer().isEnabled()) << "a failed Connect stops no reading";
}

TEST(MainFormSerial, MissingDevicesAreNotListedAndCannotConnect) {
    FormHarness h(QStringLiteral("COM3=/dev/meterbench-missing,COM4=/dev/null"));
    EXPECT_TRUE(h.portList().isEmpty());
    // A device that exists but cannot serve as a port is named, with the reason, in the list's
    // tooltip.
    EXPECT_TRUE(h.c().Combo1->toolTip().contains(QStringLiteral("COM4")))
        << h.c().Combo1->toolTip().toStdString();
    EXPECT_TRUE(h.c().Combo1->toolTip().contains(QStringLiteral("/dev/null")));
    EXPECT_FALSE(h.c().Combo1->toolTip().contains(QStringLiteral("COM3")))
        << "a missing device is simply absent";
    h.c().Combo1->setEditText(QStringLiteral("COM3"));
    h.click("OpenCOomPort");
    ASSERT_EQ(h.prompts->shown.size(), 1u);
    EXPECT_EQ(h.prompts->shown[0].text, QStringLiteral("PortCOM3Cannot Open！"));
    EXPECT_EQ(h.prompts->shown[0].title, kPromptTitle);
    EXPECT_EQ(h.prompts->shown[0].informativeText,
              QStringLiteral("/dev/meterbench-missing: no such device."));
    EXPECT_FALSE(h.form->portConnected());

    h.c().Combo1->setEditText(QStringLiteral("hello"));
    h.click("OpenCOomPort");
    ASSERT_EQ(h.prompts->shown.size(), 2u);
    EXPECT_EQ(h.prompts->shown[1].text, QStringLiteral("PorthelloCannot Open！"));

    // Nothing listed, nothing typed: Connect names the mapped port whose device is missing.
    h.c().Combo1->setEditText(QString());
    h.click("OpenCOomPort");
    ASSERT_EQ(h.prompts->shown.size(), 3u);
    EXPECT_EQ(h.prompts->shown[2].informativeText,
              QStringLiteral("The device of COM3 (/dev/meterbench-missing) is missing (unplugged?)."));
}

TEST(MainFormSerial, RefusedSettingsEndInTheFailurePathNotAFalseSuccess) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    FormHarness h(QStringLiteral("COM1=%1").arg(pty.device()));
    h.c().Combo4->setEditText(QStringLiteral("9"));
    h.click("OpenCOomPort");
    ASSERT_EQ(h.prompts->shown.size(), 1u);
    EXPECT_EQ(h.prompts->shown[0].text, QStringLiteral("PortCOM1Cannot Open！"));
    EXPECT_FALSE(h.form->port().isOpen());
    EXPECT_EQ(h.caption("OpenCOomPort"), QStringLiteral("Connect"));
}

TEST(MainFormSerial, AVanishingPeerLeavesTheClosedStateAndOnePrompt) {
    TempDataHome data;
    ASSERT_TRUE(data.isValid());
    auto pty = std::make_unique<PtyPair>();
    ASSERT_TRUE(pty->ok());
    const QString device = pty->device();
    FormHarness h(QStringLiteral("COM1=%1").arg(device));
    MainForm& f = *h.form;
    h.click("OpenCOomPort");
    ASSERT_TRUE(f.portConnected());
    f.page(0).timer().setEnabled(true);
    f.page(1).timer().setEnabled(true);
    pty->send(QByteArray::fromHex("6801"));
    ASSERT_TRUE(waitFor([&] { return f.receivedPane().text() == QStringLiteral("68 01 "); }, 1000));

    pty->closeMaster();
    ASSERT_TRUE(waitFor([&] { return !f.portConnected(); }, 1000));
    EXPECT_FALSE(f.port().isOpen());
    EXPECT_EQ(h.caption("OpenCOomPort"), QStringLiteral("Connect"));
    EXPECT_EQ(h.c().Shape1->color(), QColor(Qt::black));
    EXPECT_TRUE(h.combosEnabled());
    EXPECT_FALSE(f.page(0).timer().isEnabled());
    EXPECT_FALSE(f.page(1).timer().isEnabled());
    QTest::qWait(300);  // an error loop would show more prompts here
    ASSERT_EQ(h.prompts->shown.size(), 1u);
    EXPECT_EQ(h.prompts->shown[0].text, QStringLiteral("PortCOM1Cannot Open！"));
    EXPECT_EQ(h.prompts->shown[0].title, kPromptTitle);
    EXPECT_TRUE(h.prompts->shown[0].informativeText.startsWith(device + QLatin1Char(':')))
        << "the prompt says why: " << h.prompts->shown[0].informativeText.toStdString();
    // Refreshed: the lost device is gone (unless a new pty took its number meanwhile).
    EXPECT_TRUE(h.portList().isEmpty() || QFileInfo::exists(device)) << "the port list was refreshed";
    EXPECT_EQ(f.receivedPane().text(), QStringLiteral("68 01 ")) << "what was received stays";
    EXPECT_EQ(h.caption("Bevelo6"), QStringLiteral("2"));

    h.form.reset();  // closing the window finishes the record
    const QStringList records = data.records();
    ASSERT_EQ(records.size(), 1);
    QFile record(records.first());
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    QStringList lostEvents;
    for (const QByteArray& line : record.readAll().split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (o.value(QStringLiteral("text")).toString().startsWith(QStringLiteral("port lost: ")) ||
            o.value(QStringLiteral("text")).toString() == QStringLiteral("disconnected"))
            lostEvents << o.value(QStringLiteral("port")).toString();
    }
    EXPECT_EQ(lostEvents, (QStringList{QStringLiteral("COM1"), QStringLiteral("COM1")}));
}

TEST(MainFormSerial, BytesSplitOverEventsAreEchoedAndCountedInOrder) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    FormHarness h(QStringLiteral("COM1=%1").arg(pty.device()));
    MainForm& f = *h.form;
    h.click("OpenCOomPort");
    ASSERT_TRUE(f.portConnected());
    pty.send(QByteArray::fromHex("6801"));
    ASSERT_TRUE(waitFor([&] { return h.caption("Bevelo6") == QStringLiteral("2"); }, 1000));
    pty.send(QByteArray::fromHex("02"));
    ASSERT_TRUE(waitFor([&] { return h.caption("Bevelo6") == QStringLiteral("3"); }, 1000));
    EXPECT_EQ(f.receivedPane().text(), QStringLiteral("68 01 02 "));
    EXPECT_EQ(f.rxCount(), 3);
    EXPECT_EQ(f.analysisPane().text(), QString());
}

TEST(MainFormSerial, AnAwaitedReplyShowsCheckPassWhenItsLastPieceArrives) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    FormHarness h(QStringLiteral("COM1=%1").arg(pty.device()));
    MainForm& f = *h.form;
    h.click("OpenCOomPort");
    ASSERT_TRUE(f.portConnected());
    h.click("Bevelo1");  // CJ188 Read Data
    const QByteArray reply = cj188Reply();
    pty.send(reply.left(5));
    ASSERT_TRUE(waitFor([&] { return f.rxCount() == qint64(5); }, 1000));
    EXPECT_EQ(f.analysisPane().text(), QString());
    pty.send(reply.mid(5));
    ASSERT_TRUE(
        waitFor([&] { return f.analysisPane().text().section(QLatin1Char('\n'), 0, 0) == QStringLiteral("Check Pass！"); }, 1000));
    EXPECT_EQ(f.receivedPane().text(), QString::fromLatin1(reply.toHex(' ').toUpper() + ' '));
}

TEST(MainFormSerial, CounterButtonsResetTheirCounts) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    FormHarness h(QStringLiteral("COM1=%1").arg(pty.device()));
    MainForm& f = *h.form;
    h.click("OpenCOomPort");
    pty.send(QByteArray(5, '\x55'));
    ASSERT_TRUE(waitFor([&] { return h.caption("Bevelo6") == QStringLiteral("5"); }, 1000));
    h.click("Bevelo6");
    EXPECT_EQ(h.caption("Bevelo6"), QStringLiteral("0"));
    EXPECT_EQ(f.rxCount(), 0);
    pty.send(QByteArray(2, '\x55'));
    ASSERT_TRUE(waitFor([&] { return h.caption("Bevelo6") == QStringLiteral("2"); }, 1000));
    EXPECT_EQ(f.receivedPane().text(), QStringLiteral("55 55 55 55 55 55 55 "));

    h.click("Bevelo1");  // a request's 19 bytes taken by the port
    EXPECT_EQ(h.caption("Bevelo5"), QStringLiteral("19"));
    h.click("Bevelo5");
    EXPECT_EQ(h.caption("Bevelo5"), QStringLiteral("0"));
    EXPECT_EQ(f.txCount(), 0);
    EXPECT_EQ(h.caption("Bevelo6"), QStringLiteral("2"));
}

TEST(MainFormSerial, NoReceiveOrTickRunsWhileAPromptIsOpen) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    FormHarness h(QStringLiteral("COM1=%1").arg(pty.device()));
    MainForm& f = *h.form;
    h.click("OpenCOomPort");
    ASSERT_TRUE(f.portConnected());
    f.setUrlOpener([](const QUrl&) { return false; });  // product information prompts
    h.click("Bevelo11");
    h.c().Text4->setText(QString());
    f.page(0).timer().setInterval(10);

    QString paneDuringPrompt = QStringLiteral("unset");
    QString transmittedDuringPrompt = QStringLiteral("unset");
    h.prompts->whileShown = [&] {
        pty.send(QByteArray::fromHex("68AA"));
        QTest::qWait(150);  // the modal box's own event loop
        paneDuringPrompt = f.receivedPane().text();
        transmittedDuringPrompt = h.c().RichTextBox1->text();
    };
    h.click("Bevelo9");
    ASSERT_EQ(h.prompts->shown.size(), 1u);
    EXPECT_EQ(paneDuringPrompt, QString()) << "the receive event waited";
    EXPECT_EQ(transmittedDuringPrompt, QString()) << "the tick waited";
    h.prompts->whileShown = nullptr;
    ASSERT_TRUE(waitFor([&] { return f.rxCount() == 2; }, 1000)) << "then it ran";
    ASSERT_TRUE(waitFor([&] { return !h.c().RichTextBox1->text().isEmpty(); }, 1000));
    h.click("Bevelo12");
}
