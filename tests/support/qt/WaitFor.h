// Processes events until `done` holds or `ms` milliseconds have passed.
// Returns whether it holds, so a gtest assertion can report the failure.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

template <typename Predicate>
bool waitFor(Predicate done, int ms = 1000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qSleep(1);
    }
    return true;
}
