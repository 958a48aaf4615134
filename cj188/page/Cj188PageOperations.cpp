#include "cj188/page/Cj188PageOperations.h"

#include "app/MainForm.h"
#include "cj188/page/ContinuousReading.h"
#include "cj188/page/TransmitFrame.h"

namespace {

mb::Cj188Fields fieldsOf(const WindowControls& c) {
    return {c.Text1->text().toStdString(), c.Text3->text().toStdString(),
            c.Text2->text().toStdString(), c.Combo7->currentText().toStdString()};
}

}  // namespace

void Cj188PageOperations::readData() {
    const mb::Transmission t = form().core().cj188ReadData(fieldsOf(form().controls()));
    TransmitFrame(form(), *form().controls().RichTextBox1, t.paneText);
}

void Cj188PageOperations::secondRequest() {
    const mb::Transmission t =
        form().core().cj188ReadId(form().controls().Combo7->currentText().toStdString());
    TransmitFrame(form(), *form().controls().RichTextBox1, t.paneText);
}

void Cj188PageOperations::startContinuousReading() {
    StartContinuousReading(*this);
}
