// MainForm: the one window of MeterBench. A thin shell that owns the controls,
// the serial line, the timers and the shared protocol state, and routes every
// click, tick and receive event, one at a time, to the code that handles it:
//   WindowLayout.cpp     non-button controls at their layout positions
//   WindowButtons.cpp    the Bevelo buttons from the stored layout
//   SerialLink.cpp       port scan, Connect / Disconnect, lost port, counters
//   ReceiveHandler.cpp   received bytes: count, ring, echo, "Check Pass！"
//   PageSwitching.cpp    the two page buttons, EXIT, Help, product information
//   InputFields.cpp      filters of the seven fields and the two intervals
#pragma once

#include <QByteArray>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "app/EventGate.h"
#include "app/PageOperations.h"
#include "app/PageTimer.h"
#include "app/Prompter.h"
#include "app/WindowControls.h"
#include "serial/ProtocolCore.h"
#include "serial/port/SerialPortService.h"

class Bevelo;

inline constexpr const char* kDefaultSerialSettings = "2400,E,8,1";

class MainForm : public QWidget {
    Q_OBJECT
  public:
    // Builds the window and runs the start-up sequence; the port stays closed.
    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    // --- controls, by layout name ------------------------------------------
    const WindowControls& controls() const { return m_c; }
    Bevelo* button(const QString& name) const { return m_c.button(name); }
    PageTimer& Timer1() { return m_timer1; }  // CJ188 continuous reading
    PageTimer& Timer2() { return m_timer2; }  // EN1434 continuous reading
    TextPane& receivedPane() const { return *m_c.RichTextBox2; }
    TextPane& analysisPane() const { return *m_c.RichTextBox3; }
    TextPane& transmittedPane(Page page) const {
        return page == Page::Cj188 ? *m_c.RichTextBox1 : *m_c.RichTextBox4;
    }
    bool isCj188PageShown() const;

    // --- shared state --------------------------------------------------------
    mb::ProtocolCore& core() { return m_core; }
    SerialPortService& port() { return m_port; }
    EventGate& gate() { return m_gate; }
    bool PortConnected() const { return m_portConnected; }
    // The settings text the serial line was last given ("2400,E,8,1").
    const QString& serialSettings() const { return m_settingsText; }

    // --- shared operations for the page operations ----------------------------
    // The shared failure prompt: "Port" + port text + "Cannot Open！".
    void showFailurePrompt();
    QString failurePromptText() const { return failurePromptText(m_c.Combo1->currentText()); }
    static QString failurePromptText(const QString& portText);
    static QString failurePromptTitle();
    // Writes all bytes to the port in one write; false when it is closed or refuses them.
    bool writeToPort(const QByteArray& bytes);
    // Rewrites the counter captions from the core's TxCount and RxCount.
    void showTxCount();
    // During a flood the RX caption is rewritten at most once per frame: the
    // first event of a burst shows at once, the last one within 16 ms.
    void showRxCount();
    // The window's public method: consumes the ring up to `target`.
    void ClsChar(std::int16_t target) { m_core.ClsChar(target); }

    // Installs the operations of a page (replaces the default, which only stops).
    void setPageOperations(Page page, std::unique_ptr<PageOperations> operations);
    PageOperations& pageOperations(Page page) { return *m_ops[static_cast<std::size_t>(page)]; }
    // Stop of both continuous readings, CJ188 page first.
    void stopBothContinuousReadings();

    // --- handlers (each one event; run through the gate) ------------------------
    void runPortScan();
    void connectOrDisconnect();     // OpenCOomPort click
    void resetTxCounter();          // Bevelo5 click
    void resetRxCounter();          // Bevelo6 click
    void showCj188Page();           // Bevelo2 click
    void showEn1434Page();          // Bevelo4 click
    void openProductInformation();  // Bevelo9 click
    void exitProgram();             // Bevelo8 click
    // The communication event: bytes waiting at the port.
    void onCommEvent();
    // The receive handler's work on the bytes one event brought: count, ring,
    // echo into "Received Data", parser of the mode, "Check Pass！".
    void receiveBytes(const QByteArray& bytes);

    // --- injection points ---------------------------------------------------
    void setPrompter(std::unique_ptr<Prompter> prompter) { m_prompter = std::move(prompter); }
    Prompter& prompter() { return *m_prompter; }
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }
    void setExitAction(std::function<void()> action) { m_exit = std::move(action); }
    // Address the product-information button opens.
    QUrl productInformationUrl() const;

  private:
    void buildButtons();
    void setCaptionOf(const char* buttonName, const QString& caption);
    void wireButtons();
    void wireInputFields();
    void wireSerialLine();
    void runStartUp();
    void showStartOfPortText();
    void connectPort();
    void disconnectPort();
    void onConnectionLost(const QString& reason);
    void enterClosedState();
    void setCombosEnabled(bool enabled);
    // Runs `handler` as one event of kind `kind` (see EventGate).
    void asEvent(const void* kind, std::function<void()> handler);

    WindowControls m_c;
    mb::ProtocolCore m_core;
    SerialPortService m_port;
    PageTimer m_timer1;
    PageTimer m_timer2;
    EventGate m_gate;
    QTimer m_rxCaptionFrame;
    bool m_rxCaptionStale = false;
    bool m_portConnected = false;
    QString m_settingsText = QString::fromLatin1(kDefaultSerialSettings);
    std::array<std::unique_ptr<PageOperations>, 2> m_ops;
    std::unique_ptr<Prompter> m_prompter;
    std::function<bool(const QUrl&)> m_openUrl;
    std::function<void()> m_exit;
};
