#include "logger/storedrecord.h"

#include "link/decoder.h"

#include <QByteArray>

#include <utility>

namespace logger {

namespace {

constexpr quint8 negativeBit = 0x01;
constexpr quint8 lowBatteryBit = 0x02;
constexpr quint8 overloadBit = 0x04;
constexpr quint8 dcBit = 0x08;

const QString frequency = QStringLiteral("Frequency");
const QString ohm = QStringLiteral("Ohm");
const QString capacitance = QStringLiteral("Cx");

quint8 byteAt(QByteArrayView bytes, qsizetype index)
{
    return static_cast<quint8>(bytes[index]);
}

} // namespace

QString acDcText(quint8 status, const QString &unit)
{
    if (status & dcBit) {
        if (unit == ohm || unit == frequency || unit == capacitance)
            return {};
        return QStringLiteral("DC");
    }
    return unit == ohm ? QStringLiteral("BEEP") : QStringLiteral("AC");
}

StoredRecordDecoder::StoredRecordDecoder(QString functionText, QString rangeText)
    : functionText_(std::move(functionText))
    , rangeText_(std::move(rangeText))
{}

DecodedRecord StoredRecordDecoder::decode(QByteArrayView record, common::SharedValues &shared)
{
    Q_ASSERT(record.size() >= storedRecordBytes);
    live::DecodeSecondByte(QByteArray::fromRawData(record.data(), 1), {functionText_, rangeText_},
                           true, shared);

    const quint8 status = byteAt(record, 4);
    DecodedRecord decoded;
    decoded.unit = functionText_;
    decoded.range = rangeText_;
    decoded.acDc = acDcText(status, functionText_);
    decoded.value = valueText(record, status);
    decoded.lowBattery = status & lowBatteryBit;
    return decoded;
}

QString StoredRecordDecoder::valueText(QByteArrayView record, quint8 status)
{
    const bool minus = (status & negativeBit) && functionText_ != frequency;
    if (status & overloadBit) {
        valueText_ = minus ? QStringLiteral("-OL    ") : QStringLiteral(" OL    ");
        return valueText_;
    }
    const QString digits = live::valueTextFor(byteAt(record, 1), byteAt(record, 2),
                                              byteAt(record, 3), functionText_, rangeText_);
    if (!digits.isEmpty())
        valueText_ = digits;
    else if (valueText_.startsWith(QLatin1Char(' ')))
        valueText_.remove(0, 1); // the kept text's blank makes room for the new sign
    valueText_.prepend(minus ? QLatin1Char('-') : QLatin1Char(' '));
    if (valueText_.startsWith(QLatin1String("--")))
        valueText_.remove(0, 1);
    return valueText_;
}

} // namespace logger
