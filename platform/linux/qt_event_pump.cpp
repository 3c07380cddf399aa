#include "platform/linux/qt_event_pump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <algorithm>

void QtEventPump::processPending() { QCoreApplication::processEvents(); }

// Sleeps in the event dispatcher until an event comes or the wake-up timer fires. Unlike a nested
// QEventLoop this keeps waiting after the application has been told to quit, instead of
// returning at once and leaving the caller to spin.
void QtEventPump::waitForEvents(int maxMs) {
    const QDeadlineTimer deadline(std::max(maxMs, 0), Qt::PreciseTimer);
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    do {
        if (!wakeUp.isActive())
            wakeUp.start(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } while (!deadline.hasExpired());
}
