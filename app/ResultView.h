// Shows every finished exchange of the window: its lines in "Data Analysis"
// (the verdict first, then the tally once a continuous reading has started)
// and its verdict, with the decoded reading, in the session record; every one
// goes on to the reading history. A result
// the next request overtook is recorded and counted, but the pane already
// belongs to that next request.
#pragma once

#include <QString>
#include <chrono>
#include <functional>

#include "core/ExchangeResult.h"
#include "core/ExchangeTally.h"

class SessionLog;
class TextPane;

class ResultView {
  public:
    ResultView(TextPane& analysisPane, SessionLog& log) : pane_(analysisPane), log_(log) {}

    using FinishedHandler = std::function<void(const mb::ExchangeResult&, std::chrono::system_clock::time_point)>;
    // Every finished exchange, with the time it is recorded under (the reading history).
    void setFinishedHandler(FinishedHandler handler) { onFinished_ = std::move(handler); }

    void requestSent() { tally_.requestSent(); }
    void show(const mb::ExchangeResult& result, const QString& port);
    // One step of a longer operation: into the session record only, marked as a step.
    void recordStep(const mb::ExchangeResult& result, const QString& port);
    void continuousReadingChanged(bool running);
    // Empties the pane for the next request, remembering where the user had scrolled.
    void clearPane();

  private:
    TextPane& pane_;
    SessionLog& log_;
    mb::ExchangeTally tally_;
    int scrollBeforeClear_ = 0;
    FinishedHandler onFinished_;
};
