// What the end-to-end tests drive and watch: the virtual meter as a child
// process (its pty and its log), the far end of a pty held by the test, a
// prompter that records the window's prompts, and the window itself on COM1.
#pragma once

#include <sys/types.h>

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "tests/support/qt/WindowControls.h"
#include "app/Prompter.h"

class Bevelo;
class QLineEdit;

namespace e2e {

using Bytes = std::vector<std::uint8_t>;

Bytes hexBytes(const QString& text);  // "68 0A FF" (blanks anywhere) -> bytes
QString hexText(const Bytes& bytes);  // bytes -> "68 0A FF"

// build/bin/meterbench-sim with the given options. The first line of its
// output is its pty; every later line is "HH:MM:SS.mmm TAG text".
class SimMeter {
  public:
    explicit SimMeter(const QStringList& options = {});
    ~SimMeter();
    SimMeter(const SimMeter&) = delete;
    SimMeter& operator=(const SimMeter&) = delete;

    bool started() const { return m_pid > 0 && !m_path.isEmpty(); }
    const QString& program() const { return m_program; }
    const QString& path() const { return m_path; }

    // Ends the meter now (SIGTERM), as a gateway switched off or a pty gone.
    void stop();
    // Reads whatever log the meter has written so far (never blocks).
    void pump();
    // Log lines with this tag ("RX", "REQ", "TX", "NOTE"), their text only.
    QStringList lines(const QString& tag);
    // Every byte the meter read from the line, in order (all RX lines).
    Bytes received();
    // Every byte the meter wrote to the line (all TX lines).
    Bytes sent();
    // Forgets the log read so far.
    void clearLog();

  private:
    QString m_program;
    QString m_path;
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_pending;
    QStringList m_log;
};

// The far end of a pseudo-terminal, held by the test. The window opens the slave.
class FarEnd {
  public:
    FarEnd();
    ~FarEnd();
    FarEnd(const FarEnd&) = delete;
    FarEnd& operator=(const FarEnd&) = delete;

    bool ok() const { return m_master >= 0; }
    const QString& path() const { return m_path; }
    void send(const Bytes& bytes);
    // Collects what the window wrote (never blocks); returns everything so far.
    const Bytes& pump();
    void clear() { m_got.clear(); }

  private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    Bytes m_got;
};

struct Prompt {
    QString title;
    QString text;
    QString informativeText;
};

class RecordingPrompter : public Prompter {
  public:
    void critical(QWidget*, const QString& title, const QString& text,
                  const QString& informativeText) override {
        critical_.push_back({title, text, informativeText});
    }
    void information(QWidget*, const QString& title, const QString& text) override {
        information_.push_back({title, text, QString()});
    }
    bool confirm(QWidget*, const QString& title, const QString& text) override {
        questions_.push_back({title, text, QString()});
        return confirmAnswer_;
    }
    // Answers the value questions in turn; none left is a cancel.
    std::optional<QString> askText(QWidget*, const QString& title, const QString& label,
                                   const QString&) override {
        inputs_.push_back({title, label, QString()});
        if (answers_.isEmpty()) return std::nullopt;
        return answers_.takeFirst();
    }
    std::vector<Prompt> inputs_;
    QStringList answers_;
    std::vector<Prompt> critical_;
    std::vector<Prompt> information_;
    std::vector<Prompt> questions_;
    bool confirmAnswer_ = true;
};

inline const QString kCheckPass = QString::fromUtf8("Check Pass\xEF\xBC\x81");
inline const QString kPromptTitle = QStringLiteral("Error Prompt (0x8002)");
inline const QString kPromptCom1 = QString::fromUtf8("PortCOM1Cannot Open\xEF\xBC\x81");

// The main window with COM1 mapped to `device`, shown, prompts recorded.
class Window {
  public:
    explicit Window(const QString& device);
    ~Window();

    MainForm& form() { return *m_form; }
    const std::vector<Prompt>& prompts() const { return m_prompter->critical_; }
    // The questions before writes, and the answer the next ones get.
    const std::vector<Prompt>& questions() const { return m_prompter->questions_; }
    void answerQuestions(bool yes) { m_prompter->confirmAnswer_ = yes; }
    // The values the next value questions get, in order.
    void answerInputs(const QStringList& values) { m_prompter->answers_ = values; }
    const std::vector<Prompt>& notices() const { return m_prompter->information_; }

    // A left click on a button, by layout name, as the user gives it.
    void click(const char* buttonName);
    // Replaces the text of a field by typing.
    void type(QLineEdit* field, const QString& text);
    void chooseMeterType(const QString& entry);  // e.g. " - 21H"
    void showCj188Page() { click("Bevelo2"); }
    void showEn1434Page() { click("Bevelo4"); }
    // Connect on COM1; true when the window says it is connected.
    bool connect();

    QString transmitted(Page page) { return m_form->page(pageIndex(page)).transmittedPane().text(); }
    QString received() { return m_form->receivedPane().text(); }
    QString analysis() { return m_form->analysisPane().text(); }
    QString txCaption();
    QString rxCaption();
    // "Check Pass！" is the first line; the reply time and the readings follow it.
    bool checkPass() { return analysis().section(QLatin1Char('\n'), 0, 0) == kCheckPass; }
    QColor fieldColor(QLineEdit* field) const;
    // Every result the window's exchanges ended with, in order.
    const std::vector<mb::ExchangeResult>& results() const { return m_results; }
    // The verdict names of those results ("pass", "no-reply", ...).
    QStringList verdicts() const;

    WindowControls c() const { return WindowControls(m_form.get()); }

  private:
    std::unique_ptr<MainForm> m_form;
    RecordingPrompter* m_prompter = nullptr;
    std::vector<mb::ExchangeResult> m_results;
};

void processEventsFor(int ms);

// Processes events until `done` holds or the time is up; returns `done()`.
template <typename Done>
bool waitFor(Done done, int ms = 3000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= until) return false;
        processEventsFor(5);
    }
}

// The pane text the window gives a frame: "XX " per byte.
QString paneEcho(const Bytes& bytes);

}  // namespace e2e

// Skips a test whose meter program is missing; fails when it did not start.
#define START_SIM_OR_SKIP(sim)                                            \
    if (!QFileInfo((sim).program()).isExecutable())                       \
        GTEST_SKIP() << (sim).program().toStdString() << " is not built"; \
    ASSERT_TRUE((sim).started()) << "no pty path on the first line of "   \
                                 << (sim).program().toStdString()
