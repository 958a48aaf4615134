#include "app/ResultView.h"

#include <QScrollBar>
#include <QStringList>

#include "app/SessionLog.h"
#include "core/ExchangeText.h"
#include "core/ReadingJson.h"
#include "widgets/TextPane.h"

void ResultView::show(const mb::ExchangeResult& result, const QString& port) {
    tally_.add(result);
    log_.event(port, QString::fromStdString(mb::resultSummary(result)));
    if (!result.reading.protocol.empty())
        log_.event(port, QStringLiteral("reading ") +
                             QString::fromStdString(mb::readingJson(result.reading)));
    if (result.superseded) return;

    QStringList lines;
    for (const std::string& line : mb::resultLines(result)) lines << QString::fromStdString(line);
    if (const std::optional<std::string> statistics = tally_.line())
        lines << QString::fromStdString(*statistics);
    pane_.setText(lines.join(QLatin1Char('\n')));
    // The verdict is read from the top; the pane would follow its end.
    pane_.verticalScrollBar()->setValue(0);
}

void ResultView::continuousReadingChanged(bool running) {
    if (running)
        tally_.start();
    else
        tally_.stop();
}
