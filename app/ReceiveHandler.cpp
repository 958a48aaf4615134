// The communication event: bytes are waiting at the port.
#include <span>
#include <string>

#include "app/MainForm.h"

void MainForm::onCommEvent() {
    const QByteArray bytes = m_port.readAll();
    std::string echo;
    echo.reserve(static_cast<std::size_t>(bytes.size()) * 3);
    const bool checkPass =
        m_core.onReceived(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())),
                          echo);
    showRxCount();
    m_c.RichTextBox2->appendUtf8(echo);
    if (checkPass) m_c.RichTextBox3->setText(QString::fromUtf8(mb::kCheckPassText));
}
