#include "cj188/page/Cj188PageOperations.h"

#include "app/MainForm.h"
#include "cj188/Cj188Frames.h"
#include "cj188/page/ContinuousReading.h"
#include "cj188/page/TransmitFrame.h"

namespace {

mb::Cj188Fields fieldsOf(const WindowControls& c) {
    return {c.Text1->text().toStdString(), c.Text3->text().toStdString(),
            c.Text2->text().toStdString(), c.Combo7->currentText().toStdString()};
}

}  // namespace

void Cj188PageOperations::readData() {
    mb::ProtocolCore& core = form().core();
    const int last = mb::BuildCj188ReadData(core.txBuffer(), fieldsOf(form().controls()));
    TransmitFrame(form(), *form().controls().RichTextBox1, last);
    core.setParseMode(mb::ParseMode::Cj188);
    core.setAwaitingReply(true);
}

void Cj188PageOperations::secondRequest() {
    mb::ProtocolCore& core = form().core();
    const int last = mb::BuildCj188ReadId(core.txBuffer(),
                                          form().controls().Combo7->currentText().toStdString());
    TransmitFrame(form(), *form().controls().RichTextBox1, last);
    core.setAwaitingReply(true);
}

void Cj188PageOperations::startContinuousReading() {
    StartContinuousReading(*this);
}
