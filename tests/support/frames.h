#pragma once

#include <QByteArray>

namespace testsupport {

// RxV: the six bytes after the start byte, as the decoder takes them.
inline QByteArray liveRxV(unsigned char code, unsigned char value1, unsigned char value2, unsigned char value3, unsigned char status)
{
    const char bytes[] = {char(code), char(value1), char(value2), char(value3), char(status), '\x03'};
    return QByteArray(bytes, 6);
}

// A whole live frame as the meter sends it: 2, code, three value bytes, status, 3.
inline QByteArray liveFrame(unsigned char code, unsigned char value1, unsigned char value2, unsigned char value3, unsigned char status)
{
    return '\x02' + liveRxV(code, value1, value2, value3, status);
}

} // namespace testsupport
