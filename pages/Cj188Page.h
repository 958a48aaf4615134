// The CJ188 page: Read Data to the meter of DEVICE ID, Vendor Code and Meter
// Type (Bevelo1 and every tick), Read ID to the wildcard address (Bevelo3),
// Start and Stop of its continuous reading (Bevelo11, Bevelo12).
#pragma once

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

    QLineEdit& deviceIdField() const { return *deviceId_; }
    QComboBox& meterTypeBox() const { return *meterType_; }

  private:
    // False, after saying so, when the meter type is no hex byte.
    bool meterTypeAccepted();

    QLineEdit* deviceId_ = nullptr;
    QLineEdit* vendorCodeLow_ = nullptr;
    QLineEdit* vendorCodeHigh_ = nullptr;
    QComboBox* meterType_ = nullptr;
};
