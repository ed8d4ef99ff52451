#pragma once

// The bytes the meter puts on the line. Usage: liveFrame(code, digits,
// status) for a frame; the logger replies from a LoggerContent.
//
// Live frame, 7 bytes:
//   | 1 | 2 (start)                                  |
//   | 2 | function/range code                        |
//   | 3 | digits 1-2, packed BCD (high nibble first)  |
//   | 4 | digits 3-4                                 |
//   | 5 | digits 5-6                                 |
//   | 6 | status bits                                |
//   | 7 | 3 (end)                                    |
//
// Clock value, 6 bytes, each packed BCD: yy mm dd hh mm ss.
//
// Status block ("Y"), 10 bytes:
//   | 1-2 ID code, MSB first | 3-4 zero | 5-8 bytes in use, MSB first |
//   | 9-10 sampling time in seconds, MSB first |
//
// Set directory ("I"), 12 bytes per set, in set order:
//   | 1-6 start clock value | 7-10 zero | 11-12 record count, MSB first |
//
// Set download ("K"), a 12-byte header then 5 bytes per record:
//   | 1-6 start clock value | 7-8 zero | 9-10 interval in s, MSB first | 11-12 zero |
//   record: | 1 code | 2-4 six digits, packed BCD | 5 status bits |

#include "emulator/loggercontent.h"

#include <QByteArray>
#include <QDateTime>
#include <optional>

namespace emulator {

// Six decimal digits (0..999999; higher digits are dropped) as 3 BCD bytes.
QByteArray bcdDigits(quint32 digits);

QByteArray liveFrame(quint8 code, const QByteArray &valueBytes, quint8 status);

QByteArray clockBytes(const QDateTime &time);
// The six BCD clock bytes back as a date and time in 2000..2099; nothing
// when a byte is not BCD or the fields are no valid date or time.
std::optional<QDateTime> clockFromBytes(const QByteArray &bytes);

QByteArray statusBlock(const LoggerContent &content);
QByteArray setDirectory(const LoggerContent &content);
QByteArray setDownload(const LoggerSet &set);
QByteArray recordBytes(const LoggerRecord &record);

} // namespace emulator
