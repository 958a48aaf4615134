#include "tests/e2e/E2eSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <cerrno>

#include "tests/support/core/RawPty.h"
#include "widgets/Bevelo.h"

extern char** environ;

namespace e2e {

Bytes hexBytes(const QString& text) {
    Bytes out;
    const QByteArray digits = text.toLatin1().replace(' ', QByteArray());
    for (qsizetype k = 0; k + 1 < digits.size(); k += 2)
        out.push_back(static_cast<std::uint8_t>(digits.mid(k, 2).toUInt(nullptr, 16)));
    return out;
}

QString hexText(const Bytes& bytes) {
    QStringList parts;
    for (std::uint8_t b : bytes)
        parts << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(' '));
}

QString paneEcho(const Bytes& bytes) {
    QString text;
    for (std::uint8_t b : bytes)
        text += QStringLiteral("%1 ").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return text;
}

void processEventsFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
        // processEvents returns at once when nothing is queued; do not spin.
        QTest::qSleep(1);
    } while (clock.elapsed() < ms);
}

// --- SimMeter ------------------------------------------------------------------

namespace {

QString binDir() {
    const QByteArray dir = qgetenv("MB_BIN_DIR");
    if (!dir.isEmpty()) return QString::fromLocal8Bit(dir);
    return QCoreApplication::applicationDirPath();
}

}  // namespace

SimMeter::SimMeter(const QStringList& options) {
    m_program = QDir(binDir()).filePath(QStringLiteral("meterbench-sim"));
    if (!QFileInfo(m_program).isExecutable()) return;
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> args{m_program.toStdString()};
    for (const QString& o : options) args.push_back(o.toStdString());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    m_out = fds[0];
    ::fcntl(m_out, F_SETFL, ::fcntl(m_out, F_GETFL) | O_NONBLOCK);
    if (m_pid <= 0) return;
    // The first line names the pty.
    QElapsedTimer clock;
    clock.start();
    while (m_path.isEmpty() && clock.elapsed() < 5000) {
        pollfd p{m_out, POLLIN, 0};
        ::poll(&p, 1, 50);
        pump();
        if (!m_log.isEmpty()) m_path = m_log.takeFirst();
    }
}

SimMeter::~SimMeter() {
    // Its log pipe first: a meter blocked writing a log nobody reads ends on EPIPE.
    if (m_out >= 0) ::close(m_out);
    stop();
}

void SimMeter::stop() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
}

void SimMeter::pump() {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_out, buffer, sizeof buffer);
        if (n <= 0) break;
        m_pending.append(buffer, static_cast<std::size_t>(n));
    }
    std::size_t newline;
    while ((newline = m_pending.find('\n')) != std::string::npos) {
        m_log << QString::fromStdString(m_pending.substr(0, newline));
        m_pending.erase(0, newline + 1);
    }
}

QStringList SimMeter::lines(const QString& tag) {
    pump();
    QStringList out;
    const QString marker = QLatin1Char(' ') + tag + QLatin1Char(' ');
    for (const QString& line : m_log) {
        // "HH:MM:SS.mmm TAG text": the tag stands right after the time.
        if (line.mid(12, marker.size()) == marker) out << line.mid(12 + marker.size());
    }
    return out;
}

Bytes SimMeter::received() {
    Bytes all;
    for (const QString& line : lines(QStringLiteral("RX"))) {
        const Bytes part = hexBytes(line);
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes SimMeter::sent() {
    Bytes all;
    for (const QString& line : lines(QStringLiteral("TX"))) {
        const Bytes part = hexBytes(line);
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

void SimMeter::clearLog() {
    pump();
    m_log.clear();
}

// --- FarEnd --------------------------------------------------------------------

FarEnd::FarEnd() {
    const RawPty pty = openRawPty();
    m_master = pty.master;
    m_slave = pty.slave;
    if (m_master >= 0) ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_path = QString::fromStdString(pty.path);
}

FarEnd::~FarEnd() {
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
}

void FarEnd::send(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return;
        } else {
            pollfd p{m_master, POLLOUT, 0};
            ::poll(&p, 1, 10);
        }
    }
}

const Bytes& FarEnd::pump() {
    std::uint8_t buffer[1024];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) break;
        m_got.insert(m_got.end(), buffer, buffer + n);
    }
    return m_got;
}

// --- Window --------------------------------------------------------------------

namespace {

// COM1 must be mapped before the window scans its ports in its constructor.
std::unique_ptr<MainForm> windowOn(const QString& device) {
    qputenv("METERBENCH_PORTS", QStringLiteral("COM1=%1").arg(device).toLocal8Bit());
    return std::make_unique<MainForm>();
}

}  // namespace

Window::Window(const QString& device) : m_form(windowOn(device)) {
    auto prompter = std::make_unique<RecordingPrompter>();
    m_prompter = prompter.get();
    m_form->setPrompter(std::move(prompter));
    QObject::connect(&m_form->exchanges(), &ExchangeRunner::finished, m_form.get(),
                     [this](const mb::ExchangeResult& r) { m_results.push_back(r); });
    m_form->show();
    (void)QTest::qWaitForWindowExposed(m_form.get());
}

Window::~Window() {
    m_form->close();
}

void Window::click(const char* buttonName) {
    Bevelo* b = m_form->button(QString::fromLatin1(buttonName));
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
}

void Window::type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void Window::chooseMeterType(const QString& entry) {
    QComboBox* combo = c().Combo7;
    combo->setCurrentIndex(combo->findText(entry));
}

bool Window::connect() {
    click("OpenCOomPort");
    return m_form->portConnected();
}

QString Window::txCaption() {
    return m_form->button(QStringLiteral("Bevelo5"))->Caption();
}

QString Window::rxCaption() {
    return m_form->button(QStringLiteral("Bevelo6"))->Caption();
}

QStringList Window::verdicts() const {
    QStringList names;
    for (const mb::ExchangeResult& r : m_results)
        names << QString::fromUtf8(mb::verdictName(r.verdict).data(),
                                   static_cast<qsizetype>(mb::verdictName(r.verdict).size()));
    return names;
}

QColor Window::fieldColor(QLineEdit* field) const {
    return field->palette().color(QPalette::Base);
}

}  // namespace e2e
