// The seven input fields: filters after every change, and the two interval
// fields setting their page timer's period.
#include "app/FieldFilter.h"
#include "app/MainForm.h"

void MainForm::wireInputFields() {
    attachFilter(m_c.Text1, CharTest::DecimalRange);
    attachFilter(m_c.Text3, CharTest::DecimalRange);
    attachFilter(m_c.Text2, CharTest::Numeric);
    attachFilter(m_c.Text6, CharTest::HexDigit);
    attachFilter(m_c.Text7, CharTest::HexDigit);
    // Only the interval changes; a running continuous reading goes on with the new period.
    attachFilter(m_c.Text4, CharTest::Numeric,
                 [this](const QString& t) { m_timer1.setInterval(intervalMsFromText(t)); });
    attachFilter(m_c.Text5, CharTest::Numeric,
                 [this](const QString& t) { m_timer2.setInterval(intervalMsFromText(t)); });
}
