// The serial settings frame ("setpage"): port list and scan, the line's
// settings, Connect / Disconnect, the state lamp, a port lost while connected,
// and the TX / RX counters. It owns the serial line; the window hears about
// connections through its signals and writes through it.
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "port/SerialPortService.h"

class Bevelo;
class Indicator;
class QComboBox;
class QGroupBox;
class QWidget;

inline constexpr const char* kDefaultSerialSettings = "2400,E,8,1";

class SerialPanel : public QObject {
    Q_OBJECT
  public:
    // Builds the frame and its controls inside `window` at their layout positions.
    explicit SerialPanel(QWidget* window);

    // The Connect button and the two counters come from the stored button layout.
    void attachButtons(Bevelo* connectButton, Bevelo* txCounter, Bevelo* rxCounter);

    SerialPortService& port() { return port_; }
    bool portConnected() const { return portConnected_; }
    // The settings text the line was last given ("2400,E,8,1").
    const QString& settingsText() const { return settingsText_; }
    QString portText() const;

    // Start-up: scan, default settings, parity list, port closed.
    void runStartUp();
    // Lists every mapped port that opens or is busy, and every mapped gateway
    // (not tried), first entry chosen; names the others and any fault of the
    // port map in the list's tooltip.
    void runPortScan();
    void connectOrDisconnect();
    // The meter switched its baud rate: the connected line and the Baud list
    // follow, the rest of the settings stay. False when not connected or refused.
    bool followBaudRate(long baud);
    // The device vanished while connected: leave the panel as Disconnect does
    // and emit portLost once, with the system's reason.
    void onConnectionLost(const QString& reason);

    void showTxCount(std::int64_t count);
    // During a flood the RX caption is rewritten at most once per frame: the
    // first event of a burst shows at once, the last one within 16 ms.
    void showRxCount(std::int64_t count);
    void showCountReset(Bevelo* counter);

  signals:
    void connected();
    // `portText` names the port that was connected (the list is scanned anew).
    void disconnected(const QString& portText);
    // Connect failed; the panel is back in the closed state.
    void connectFailed(const QString& portText, const QString& reason);
    void portLost(const QString& portText, const QString& reason);

  private:
    QStringList missingPorts_;  // "COM1 (/dev/ttyUSB9)": mapped, but no device
    // Why Connect has no port to open: the mapped ports whose device is missing.
    QString noPortReason() const;
    void connectPort();
    void disconnectPort();
    void enterClosedState();
    void setCombosEnabled(bool enabled);
    void showStartOfPortText();
    void rescanKeepingChoice();
    void reportMapProblems(const QStringList& problems);
    void widenListToEntries();
    void setCaption(Bevelo* button, const QString& caption);

    SerialPortService port_;
    QGroupBox* frame_ = nullptr;
    QComboBox* portList_ = nullptr;
    QComboBox* baudBox_ = nullptr;
    QComboBox* parityBox_ = nullptr;
    QComboBox* dataBitsBox_ = nullptr;
    QComboBox* stopBitsBox_ = nullptr;
    Indicator* stateLamp_ = nullptr;
    Bevelo* connectButton_ = nullptr;
    Bevelo* txCounter_ = nullptr;
    Bevelo* rxCounter_ = nullptr;
    QTimer rxCaptionFrame_;
    std::int64_t rxCountPending_ = 0;
    bool rxCaptionStale_ = false;
    bool portConnected_ = false;
    QString settingsText_ = QString::fromLatin1(kDefaultSerialSettings);
    QStringList reportedMapProblems_;
};
