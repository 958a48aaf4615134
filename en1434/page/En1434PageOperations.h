// The EN1434 page: M-Bus Read Data (Bevelo17 and every tick of Timer2),
// Modification ID (Bevelo15) and the Start of its continuous reading
// (Bevelo13). Stop is the window's common one. Requests are built by the core
// in its TxBuffer and sent by TransmitFrame through RichTextBox4.
#pragma once

#include "app/PageOperations.h"

class En1434PageOperations : public PageOperations {
  public:
    explicit En1434PageOperations(MainForm& form) : PageOperations(form, Page::En1434) {}

    // REQ_UD2 to the primary address in DEVICE ID; arms the M-Bus long-frame
    // parser (ParseMode 2) and awaits the reply.
    void readData() override;
    // SND_UD to address 254 giving the meter the address in NEW ID; awaits a
    // reply but leaves ParseMode as it is (the E5 acknowledgement is only echoed).
    void secondRequest() override;
    void startContinuousReading() override;
};
