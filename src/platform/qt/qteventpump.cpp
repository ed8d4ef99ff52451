#include "platform/qt/qteventpump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace platform {

void QtEventPump::runFor(double seconds)
{
    if (ending_)
        return;
    if (!(seconds > 0)) {
        QCoreApplication::processEvents();
        return;
    }
    // Milliseconds, rounded up so a short wait is never a zero timer;
    // capped so the conversion cannot overflow.
    const double ms = std::ceil(std::min(seconds, 86400.0) * 1000.0);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(ms));
    loops_.append(&loop);
    loop.exec();
    loops_.removeOne(&loop);
}

void QtEventPump::requestEnd()
{
    ending_ = true;
    for (QEventLoop *loop : std::as_const(loops_))
        loop->quit();
}

} // namespace platform
