// The CJ188 page: Read Data (Bevelo1 and every tick of Timer1), Read ID
// (Bevelo3) and the Start of its continuous reading (Bevelo11). Stop is the
// window's common one. Each request is built by the core in its TxBuffer and
// sent by TransmitFrame through RichTextBox1.
#pragma once

#include "app/PageOperations.h"

class Cj188PageOperations : public PageOperations {
  public:
    explicit Cj188PageOperations(MainForm& form) : PageOperations(form, Page::Cj188) {}

    // Read Data to the meter of DEVICE ID, Vendor Code and Meter Type; arms the
    // CJ188 reply parser (ParseMode 1) and awaits the reply.
    void readData() override;
    // Read ID to the wildcard address; awaits a reply but leaves ParseMode as it is.
    void secondRequest() override;
    void startContinuousReading() override;
};
