// The CJ188 page: Read Data to the meter of DEVICE ID, Vendor Code and Meter
// Type (Bevelo1 and every tick), Read ID to the wildcard address (Bevelo3),
// Start and Stop of its continuous reading (Bevelo11, Bevelo12); Operations…
// (Cj188Operations) for the reads and writes beyond them: monthly history,
// prices, days, purchases, valve, clock, address, settlement day, reading.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "pages/ProtocolPage.h"

class QComboBox;

class Cj188Page : public ProtocolPage {
  public:
    // Builds the page's panel inside `mainPanel` at its layout position.
    Cj188Page(PageHost& host, QWidget* mainPanel);

    QString showButtonName() const override { return QStringLiteral("Bevelo2"); }
    std::vector<ButtonAction> buttonActions() override;
    void readData() override;
    void readId();
    // Operations… (Cj188Operations): reads of other identifiers, valve, clock.
    void readIdentifier(std::uint16_t dataId);
    void setValve(bool open);
    void setClockToNow();
    // Writes that ask for their value first: address (A018, the fields follow
    // the meter), settlement day (A011), synchronised reading (A016).
    void writeAddress();
    void writeSettlementDay();
    void writeSyncReading();

    QLineEdit& deviceIdField() const { return *deviceId_; }
    QComboBox& meterTypeBox() const { return *meterType_; }

  private:
    // False, after saying so, when the meter type is no hex byte.
    bool meterTypeAccepted();
    // The meter the fields name, vendor code and DEVICE ID as on its plate;
    // nullopt after saying why not.
    std::optional<std::pair<std::uint8_t, std::string>> meterOfFields();
    std::vector<struct Operation> historyMonths();
    static QString meterName(const std::string& plate);

    QLineEdit* deviceId_ = nullptr;
    QLineEdit* vendorCodeLow_ = nullptr;
    QLineEdit* vendorCodeHigh_ = nullptr;
    QComboBox* meterType_ = nullptr;
};
