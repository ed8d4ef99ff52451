#include "link/linklostloop.h"

#include "platform/wait.h"

namespace live {

bool nudgeUntilBytesArrive(platform::SerialPort &port, const platform::Clock &clock,
                           platform::EventPump &pump)
{
    for (;;) {
        if (pump.ending())
            return false;
        if (port.deviceLost())
            port.reopen();
        port.send(QByteArrayLiteral(" "));
        pump.runFor(0);
        if (!platform::waitSeconds(nudgeIntervalSeconds, clock, pump))
            return false;
        if (port.bytesWaiting() > 0)
            return true;
    }
}

} // namespace live
