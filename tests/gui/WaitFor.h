#pragma once
// Runs the Qt event loop until a condition holds, for tests on real widgets.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

// Generous by default, for a loaded machine; false when time ran out.
template <typename F>
bool WaitFor(F done, int ms = 30000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}
