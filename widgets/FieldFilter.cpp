#include "widgets/FieldFilter.h"

#include <QLineEdit>

bool passesTest(CharTest test, QChar c) {
    const char16_t u = c.unicode();
    const bool digit = u >= u'0' && u <= u'9';
    switch (test) {
        case CharTest::DecimalRange:
        case CharTest::Numeric:
            return digit;
        case CharTest::HexDigit:
            return digit || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
    }
    return false;
}

QString filteredText(const QString& text, CharTest test) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if (passesTest(test, c)) kept.append(c);
    return kept;
}

void attachFilter(QLineEdit* field, CharTest test,
                  std::function<void(const QString&)> afterFilter) {
    QObject::connect(
        field, &QLineEdit::textChanged, field, [field, test, afterFilter](const QString& text) {
            const QString kept = filteredText(text, test);
            if (kept != text) {
                // Keep the caret where it was, less the characters dropped before it.
                const int caret = field->cursorPosition();
                const int keptBefore =
                    static_cast<int>(filteredText(text.left(caret), test).size());
                field->setText(kept);  // raises one more change, which finds nothing to drop
                field->setCursorPosition(keptBefore);
                return;
            }
            if (afterFilter) afterFilter(kept);
        });
}

int intervalMsFromText(const QString& secondsText) {
    bool ok = false;
    const int seconds = secondsText.toInt(&ok);
    return ok && seconds > 0 ? seconds * 1000 : 0;
}
