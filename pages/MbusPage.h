// The EN1434 page, which speaks M-Bus: Read Data, a REQ_UD2 to the primary
// address in DEVICE ID (Bevelo17 and every tick), Modification ID, a SND_UD to
// address 254 giving the meter the address in NEW ID (Bevelo15), Start and Stop
// of its continuous reading (Bevelo13, Bevelo14); Operations… (MbusOperations)
// for the clock, application reset, SND_NKE, all telegrams, secondary
// selection and the baud rate.
#pragma once

#include <optional>
#include <utility>

#include "mbus/MbusRequests.h"
#include "pages/ProtocolPage.h"

class MbusPage : public ProtocolPage {
  public:
    // Builds the page's panel inside `mainPanel` at its layout position.
    MbusPage(PageHost& host, QWidget* mainPanel);

    QString showButtonName() const override { return QStringLiteral("Bevelo4"); }
    std::vector<ButtonAction> buttonActions() override;
    void readData() override;
    void modifyId();
    // Operations… (MbusOperations): clock (type F or I), application reset,
    // SND_NKE, all telegrams, reads and addresses through secondary selection,
    // baud rate switch.
    void setClockToNow(mb::MbusTimeType type = mb::MbusTimeType::F);
    void applicationReset();
    void initialise();
    void readAllTelegrams();
    // The identification number asked for; the page's fields give the rest.
    void readBySecondary();
    void setAddressBySecondary();  // NEW ID is the new primary address
    void switchBaudRate();

    QLineEdit& deviceIdField() const { return *deviceId_; }
    QLineEdit& newAddressField() const { return *newAddress_; }

  private:
    // DEVICE ID as a primary address (hex, as Read Data takes it); empty is 00.
    std::uint8_t deviceAddress() const;
    // Asks for an identification number; nullopt after saying why not.
    std::optional<std::pair<mb::SecondaryMask, QString>> askSecondary();

    QLineEdit* deviceId_ = nullptr;
    QLineEdit* newAddress_ = nullptr;
};
