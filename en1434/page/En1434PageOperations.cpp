#include "en1434/page/En1434PageOperations.h"

#include "app/MainForm.h"
#include "cj188/page/ContinuousReading.h"
#include "cj188/page/TransmitFrame.h"
#include "en1434/MbusFrames.h"

void En1434PageOperations::readData() {
    mb::ProtocolCore& core = form().core();
    const int last =
        mb::BuildMbusReadData(core.txBuffer(), form().controls().Text6->text().toStdString());
    TransmitFrame(form(), *form().controls().RichTextBox4, last);
    core.setParseMode(mb::ParseMode::Mbus);
    core.setAwaitingReply(true);
}

void En1434PageOperations::secondRequest() {
    mb::ProtocolCore& core = form().core();
    const int last =
        mb::BuildMbusModifyId(core.txBuffer(), form().controls().Text7->text().toStdString());
    TransmitFrame(form(), *form().controls().RichTextBox4, last);
    core.setAwaitingReply(true);
}

void En1434PageOperations::startContinuousReading() {
    StartContinuousReading(*this);
}
