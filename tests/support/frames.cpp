#include "support/frames.h"

namespace testsupport {

QByteArray liveRxV(unsigned char code, unsigned char value1, unsigned char value2,
                   unsigned char value3, unsigned char status)
{
    QByteArray bytes;
    for (unsigned char byte : {code, value1, value2, value3, status, static_cast<unsigned char>(3)})
        bytes.append(static_cast<char>(byte));
    return bytes;
}

QByteArray liveFrame(unsigned char code, unsigned char value1, unsigned char value2,
                     unsigned char value3, unsigned char status)
{
    return QByteArray(1, '\x02') + liveRxV(code, value1, value2, value3, status);
}

} // namespace testsupport
