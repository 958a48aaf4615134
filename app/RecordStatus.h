// One line on the window that says, once, that the session record cannot be
// written and why, and again when writing resumes (with how many events were
// lost). Hidden while the record is written as it should be. It sits in the
// main panel's free strip right of the page buttons, clear of every designed
// control.
#pragma once

#include <QLabel>

class SessionLog;

class RecordStatus : public QLabel {
  public:
    explicit RecordStatus(QWidget* mainPanel);

    // Creates the line in `mainPanel` and has `log` report to it.
    static RecordStatus* attach(QWidget* mainPanel, SessionLog& log);

    // `writing` false: the record is losing what happens now, and `text` says why.
    void showNotice(bool writing, const QString& text);
};
