#include "app/ResultView.h"

#include <QScrollBar>
#include <QStringList>

#include "app/SessionLog.h"
#include "core/ExchangeText.h"
#include "core/ExchangeRecordFields.h"
#include "widgets/TextPane.h"

void ResultView::show(const mb::ExchangeResult& result, const QString& port) {
    // One time for the record and the history, so a record read back gives the same rows.
    const auto now = std::chrono::system_clock::now();
    tally_.add(result);
    log_.exchange(port, mb::resultSummary(result), mb::exchangeRecordMembers(result), now);
    if (onFinished_) onFinished_(result, now);
    if (result.superseded) return;

    QStringList lines;
    for (const std::string& line : mb::resultLines(result)) lines << QString::fromStdString(line);
    // The tally right under the verdict and reply time, above the readings.
    if (const std::optional<std::string> statistics = tally_.line())
        lines.insert(static_cast<qsizetype>(mb::verdictLineCount(result)), QString::fromStdString(*statistics));
    // A user who scrolled is watching a line further down: it stays in view.
    QScrollBar* scroll = pane_.verticalScrollBar();
    const int kept = pane_.length() == 0 ? scrollBeforeClear_ : scroll->value();
    pane_.setText(lines.join(QLatin1Char('\n')));
    scroll->setValue(kept);
}

void ResultView::recordStep(const mb::ExchangeResult& result, const QString& port) {
    // Marked as a step: the operation's result follows as its own event, and
    // only that one is a row when the record is opened into the history.
    log_.exchange(port, mb::resultSummary(result), mb::exchangeRecordMembers(result) + ", \"step\": true",
                  std::chrono::system_clock::now());
}

void ResultView::clearPane() {
    scrollBeforeClear_ = pane_.verticalScrollBar()->value();
    pane_.clear();
}

void ResultView::continuousReadingChanged(bool running) {
    if (running)
        tally_.start();
    else
        tally_.stop();
}
