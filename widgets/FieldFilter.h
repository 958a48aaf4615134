// Character filters of the input fields: after every change of a field's text
// the characters it does not accept are dropped, the others keep their order.
#pragma once

#include <QString>
#include <functional>

class QLineEdit;

enum class CharTest {
    DecimalRange,  // "[0-9]": character code from '0' to '9'
    Numeric,       // the one-character text is a number by itself: again only '0'..'9'
    HexDigit,      // "[0-9A-Fa-f]", letters keep their case
};

bool passesTest(CharTest test, QChar c);
QString filteredText(const QString& text, CharTest test);

// Runs the filter on every change of `field` (typing, deleting, pasting,
// program writes), then `afterFilter` with the field's new text.
void attachFilter(QLineEdit* field, CharTest test,
                  std::function<void(const QString&)> afterFilter = {});

// Seconds typed in an interval field -> timer interval in milliseconds (empty = 0).
int intervalMsFromText(const QString& secondsText);
