#pragma once

#include <QByteArray>

namespace testsupport {

// A whole live frame as the meter sends it: 2, code, three value bytes,
// status, 3.
QByteArray liveFrame(unsigned char code, unsigned char value1, unsigned char value2,
                     unsigned char value3, unsigned char status);

// RxV: the six bytes after the start byte, as the decoder takes them.
QByteArray liveRxV(unsigned char code, unsigned char value1, unsigned char value2,
                   unsigned char value3, unsigned char status);

} // namespace testsupport
