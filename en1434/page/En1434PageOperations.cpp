#include "en1434/page/En1434PageOperations.h"

#include "app/MainForm.h"
#include "cj188/page/ContinuousReading.h"
#include "cj188/page/TransmitFrame.h"

void En1434PageOperations::readData() {
    const mb::Transmission t =
        form().core().mbusReadData(form().controls().Text6->text().toStdString());
    TransmitFrame(form(), *form().controls().RichTextBox4, t.paneText);
}

void En1434PageOperations::secondRequest() {
    const mb::Transmission t =
        form().core().mbusModifyId(form().controls().Text7->text().toStdString());
    TransmitFrame(form(), *form().controls().RichTextBox4, t.paneText);
}

void En1434PageOperations::startContinuousReading() {
    StartContinuousReading(*this);
}
