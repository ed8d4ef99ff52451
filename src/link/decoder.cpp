#include "link/decoder.h"

#include "common/functionrangetable.h"
#include "common/numbers.h"

namespace live {

namespace {

constexpr int codeIndex = 0;
constexpr int valueIndex = 1;
constexpr int statusIndex = 4;

bool bit(unsigned char byte, int number)
{
    return (byte >> number) & 1;
}

unsigned char byteAt(const QByteArray &bytes, int index)
{
    return static_cast<unsigned char>(bytes.at(index));
}

bool isOneOf(const QString &text, std::initializer_list<const char *> choices)
{
    for (const char *choice : choices) {
        if (text == QLatin1String(choice))
            return true;
    }
    return false;
}

// Pattern and decimal exponent for a range number r.
struct ValueFormat
{
    const char16_t *pattern;
    int capacitanceExponent;
    int otherExponent;
};

const ValueFormat *formatForRange(double r)
{
    static const ValueFormat thousands{u"0###.0", -1, -2};
    static const ValueFormat hundreds{u"0##.#0", -2, -3};
    static const ValueFormat tens{u"0#.##0", -3, -4};
    static const ValueFormat units{u"0.###0", -4, -5};
    if (r > 999)
        return &thousands;
    if (r > 99)
        return &hundreds;
    if (r > 9)
        return &tens;
    if (r > 0)
        return &units;
    return nullptr;
}

// The integer of the leading decimal digits of a text (0 without any).
qint64 leadingDigits(const QString &digits)
{
    qint64 number = 0;
    for (QChar c : digits) {
        if (!c.isDigit())
            break;
        number = number * 10 + c.digitValue();
    }
    return number;
}

QString twoHexDigits(unsigned char byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

void DecodeSecondByte(const QByteArray &RxV, FunctionRangeLabels target, bool CheckMaxMin,
                      common::SharedValues &shared)
{
    if (RxV.size() <= codeIndex)
        return;
    const auto row = common::lookupFunctionRange(byteAt(RxV, codeIndex));
    if (!row)
        return;
    target.functionText = row->functionText;
    target.rangeText = row->rangeText;
    if (CheckMaxMin && shared.scaleMax < row->fullScale) {
        shared.scaleMax = row->fullScale;
        shared.scaleHalf = row->fullScale / 2;
    }
}

void DecodesixByte(const QByteArray &RxV, common::MeterReading &reading)
{
    if (RxV.size() <= statusIndex)
        return;
    const unsigned char s = byteAt(RxV, statusIndex);
    reading.negative = bit(s, 0);
    reading.batteryText = bit(s, 1) ? QStringLiteral("LOW BATTERY") : QString();
    reading.overload = bit(s, 2);
    if (reading.overload)
        reading.valueText = QStringLiteral("OL");

    const QString &function = reading.functionText;
    if (isOneOf(function, {"uA", "V", "mA", "mV", "A"}))
        reading.acDcText = bit(s, 3) ? QStringLiteral("DC") : QStringLiteral("AC");
    else if (function == QLatin1String("Ohm"))
        reading.acDcText = bit(s, 3) ? QString() : QStringLiteral("BEEP");
    else
        reading.acDcText.clear();

    if (function == QLatin1String("Frequency"))
        reading.rangeModeText.clear();
    else
        reading.rangeModeText = bit(s, 4) ? QStringLiteral("Auto") : QStringLiteral("Range");

    reading.minMode = bit(s, 5);
    reading.maxMode = bit(s, 6);
    reading.relMode = bit(s, 7);
}

QString valueTextFor(unsigned char byte1, unsigned char byte2, unsigned char byte3,
                     const QString &functionText, const QString &rangeText)
{
    const ValueFormat *format = formatForRange(common::leadingNumber(rangeText));
    if (!format)
        return {};
    const bool capacitance = functionText == QLatin1String("Cx");
    const QString h1 = twoHexDigits(byte1);
    // Capacitance drops the first nibble; the other functions keep all six,
    // so the sixth only rounds the last shown digit.
    const QString digits = (capacitance ? h1.mid(1) : h1) + twoHexDigits(byte2) + twoHexDigits(byte3);
    const common::Decimal value{leadingDigits(digits),
                                capacitance ? format->capacitanceExponent : format->otherExponent};
    return common::formatNumber(value, format->pattern);
}

void decodedata(const QByteArray &RxV, common::MeterReading &reading, qint16 &valueByteFlag)
{
    if (RxV.size() < valueIndex + 3)
        return;
    const unsigned char byte3 = byteAt(RxV, valueIndex + 2);
    valueByteFlag = bit(byte3, 2) ? 1 : 0;

    QString text = reading.overload
        ? QStringLiteral("OL")
        : valueTextFor(byteAt(RxV, valueIndex), byteAt(RxV, valueIndex + 1), byte3,
                       reading.functionText, reading.rangeText);
    if (reading.negative)
        text.prepend(QLatin1Char('-'));
    reading.valueText = text;
}

void decodeLiveFrame(const QByteArray &RxV, common::MeterReading &reading,
                     common::SharedValues &shared)
{
    DecodeSecondByte(RxV, {reading.functionText, reading.rangeText}, false, shared);
    DecodesixByte(RxV, reading);
    decodedata(RxV, reading, shared.valueByteFlag);
}

} // namespace live
