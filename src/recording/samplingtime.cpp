#include "recording/samplingtime.h"

namespace recording {

namespace {

constexpr int largestSeconds = 60;
constexpr int smallestSeconds = 1;

// An exact decimal minus a whole number, for values of the sampling range.
common::Decimal minus(common::Decimal value, qint64 whole)
{
    if (value.exponent >= 0) {
        for (; value.exponent > 0; --value.exponent)
            value.mantissa *= 10;
        return {value.mantissa - whole, 0};
    }
    qint64 scaled = whole;
    for (int i = 0; i < -value.exponent; ++i)
        scaled *= 10;
    return {value.mantissa - scaled, value.exponent};
}

} // namespace

QString samplingTitle()
{
    return QStringLiteral("Input Sampling Time");
}

QString samplingPrompt()
{
    return QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 60) ");
}

QString samplingDefaultAnswer(const QString &samplingLabel)
{
    return common::formatNumber(common::leadingDecimal(samplingLabel), u"##.#");
}

SamplingChoice readSamplingAnswer(const QString &answer)
{
    SamplingChoice choice;
    if (answer.isEmpty())
        return choice;
    choice.changed = true;
    QString text = answer;
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0)
        text[comma] = QLatin1Char('.');
    const common::Decimal t = common::leadingDecimal(text);
    const double value = t.toDouble();
    if (value > largestSeconds) {
        choice.message = QStringLiteral("Number Too Large ! Set Value to 60 !");
        choice.seconds = {largestSeconds, 0};
    } else if (value < smallestSeconds) {
        choice.message = QStringLiteral("Number Too Small ! Set Value to 1 !");
        choice.seconds = {smallestSeconds, 0};
    } else {
        choice.seconds = t;
    }
    return choice;
}

QString samplingLabelText(const common::Decimal &seconds)
{
    return common::formatNumber(seconds, u"##.0") + QStringLiteral(" Sec");
}

qint16 sampleTickFor(const common::Decimal &seconds)
{
    return static_cast<qint16>(common::roundHalfEven(minus(seconds, 1)));
}

int samplingIntervalMs(const common::Decimal &seconds)
{
    common::Decimal milliseconds = seconds;
    milliseconds.exponent += 3;
    return static_cast<int>(common::roundHalfEven(milliseconds));
}

} // namespace recording
