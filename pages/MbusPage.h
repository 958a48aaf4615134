// The EN1434 page, which speaks M-Bus: Read Data, a REQ_UD2 to the primary
// address in DEVICE ID (Bevelo17 and every tick), Modification ID, a SND_UD to
// address 254 giving the meter the address in NEW ID (Bevelo15), Start and Stop
// of its continuous reading (Bevelo13, Bevelo14); Operations… (MbusOperations)
// for the clock, application reset and SND_NKE.
#pragma once

#include "pages/ProtocolPage.h"

class MbusPage : public ProtocolPage {
  public:
    // Builds the page's panel inside `mainPanel` at its layout position.
    MbusPage(PageHost& host, QWidget* mainPanel);

    QString showButtonName() const override { return QStringLiteral("Bevelo4"); }
    std::vector<ButtonAction> buttonActions() override;
    void readData() override;
    void modifyId();
    // Operations… (MbusOperations): clock, application reset, SND_NKE.
    void setClockToNow();
    void applicationReset();
    void initialise();

    QLineEdit& deviceIdField() const { return *deviceId_; }
    QLineEdit& newAddressField() const { return *newAddress_; }

  private:
    // DEVICE ID as a primary address (hex, as Read Data takes it); empty is 00.
    std::uint8_t deviceAddress() const;

    QLineEdit* deviceId_ = nullptr;
    QLineEdit* newAddress_ = nullptr;
};
