#pragma once

#include <QSerialPort>
#include <QString>

#include <optional>

namespace platform {

// Line settings parsed from the communications settings text
//
//   "<baud>,<parity>,<data bits>,<stop bits>"      e.g. "2400,N,8,1"
//
//   field      accepted
//   baud       a whole number > 0
//   parity     N none, E even, O odd, M mark, S space (either case)
//   data bits  5, 6, 7 or 8
//   stop bits  1, 1.5 or 2
//
// Blanks around fields are ignored; anything else makes the text invalid.
struct SerialSettings
{
    qint32 baudRate = 2400;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    friend bool operator==(const SerialSettings &, const SerialSettings &) = default;
};

std::optional<SerialSettings> parseSerialSettings(const QString &text);

} // namespace platform
