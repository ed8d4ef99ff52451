#include "platform/qt/serialsettings.h"

#include <QStringList>

namespace platform {

namespace {

std::optional<QSerialPort::Parity> parseParity(const QString &field)
{
    if (field.size() != 1)
        return std::nullopt;
    switch (field.at(0).toUpper().unicode()) {
    case 'N': return QSerialPort::NoParity;
    case 'E': return QSerialPort::EvenParity;
    case 'O': return QSerialPort::OddParity;
    case 'M': return QSerialPort::MarkParity;
    case 'S': return QSerialPort::SpaceParity;
    default: return std::nullopt;
    }
}

std::optional<QSerialPort::DataBits> parseDataBits(const QString &field)
{
    if (field == u"5") return QSerialPort::Data5;
    if (field == u"6") return QSerialPort::Data6;
    if (field == u"7") return QSerialPort::Data7;
    if (field == u"8") return QSerialPort::Data8;
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> parseStopBits(const QString &field)
{
    if (field == u"1") return QSerialPort::OneStop;
    if (field == u"1.5") return QSerialPort::OneAndHalfStop;
    if (field == u"2") return QSerialPort::TwoStop;
    return std::nullopt;
}

} // namespace

std::optional<SerialSettings> parseSerialSettings(const QString &text)
{
    QStringList fields = text.split(u',');
    if (fields.size() != 4)
        return std::nullopt;
    for (auto &field : fields)
        field = field.trimmed();

    bool numeric = false;
    const int baud = fields[0].toInt(&numeric);
    const auto parity = parseParity(fields[1]);
    const auto dataBits = parseDataBits(fields[2]);
    const auto stopBits = parseStopBits(fields[3]);
    if (!numeric || baud <= 0 || !parity || !dataBits || !stopBits)
        return std::nullopt;
    return SerialSettings{baud, *parity, *dataBits, *stopBits};
}

} // namespace platform
