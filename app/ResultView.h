// Shows every finished exchange of the window: its lines in "Data Analysis"
// (the verdict first, then the tally once a continuous reading has started)
// and its verdict, with the decoded reading, in the session record. A result
// the next request overtook is recorded and counted, but the pane already
// belongs to that next request.
#pragma once

#include <QString>

#include "core/ExchangeResult.h"
#include "core/ExchangeTally.h"

class SessionLog;
class TextPane;

class ResultView {
  public:
    ResultView(TextPane& analysisPane, SessionLog& log) : pane_(analysisPane), log_(log) {}

    void requestSent() { tally_.requestSent(); }
    void show(const mb::ExchangeResult& result, const QString& port);
    void continuousReadingChanged(bool running);

  private:
    TextPane& pane_;
    SessionLog& log_;
    mb::ExchangeTally tally_;
};
