#include "platform/linux/qt_event_pump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <algorithm>

namespace velandri {

void QtEventPump::processPending() { QCoreApplication::processEvents(); }

// Sleeps in the event dispatcher until an event comes or the wake-up timer fires. A nested
// QEventLoop would stop running events once the application has been told to quit, which can
// happen while a launch waits.
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

}  // namespace velandri
