#include "recording/readingstatistics.h"

#include "recording/readingexport.h"
#include "recording/recordlistmodel.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace recording {

namespace {

// A decimal text taken apart without copying: sign, whole digits without
// leading zeros, fraction digits without trailing zeros.
struct DecimalParts
{
    bool ok = false;
    bool negative = false;
    QByteArrayView whole;
    QByteArrayView fraction;
    int shownFraction = 0; // digits after the point as shown, zeros included

    bool zero() const { return whole.isEmpty() && fraction.isEmpty(); }
};

DecimalParts decimalParts(QByteArrayView text)
{
    DecimalParts parts;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        parts.negative = text[i++] == '-';
    const qsizetype wholeStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const qsizetype wholeEnd = i;
    qsizetype fractionStart = i;
    if (i < text.size() && text[i] == '.')
        fractionStart = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const qsizetype fractionEnd = i;
    if (i != text.size() || (wholeEnd == wholeStart && fractionEnd == fractionStart))
        return parts;
    qsizetype w = wholeStart;
    while (w < wholeEnd && text[w] == '0')
        ++w;
    qsizetype f = fractionEnd;
    while (f > fractionStart && text[f - 1] == '0')
        --f;
    parts.ok = true;
    parts.whole = text.sliced(w, wholeEnd - w);
    parts.fraction = text.sliced(fractionStart, f - fractionStart);
    parts.shownFraction = int(fractionEnd - fractionStart);
    return parts;
}

// The order of two decimals, exactly: below 0 when a < b.
int compareDecimals(const DecimalParts &a, const DecimalParts &b)
{
    const bool aNegative = a.negative && !a.zero();
    const bool bNegative = b.negative && !b.zero();
    if (aNegative != bNegative)
        return aNegative ? -1 : 1;
    int magnitude = 0;
    if (a.whole.size() != b.whole.size())
        magnitude = a.whole.size() < b.whole.size() ? -1 : 1;
    else if (const int c = a.whole.compare(b.whole); c != 0)
        magnitude = c < 0 ? -1 : 1;
    else if (const int d = a.fraction.compare(b.fraction); d != 0)
        magnitude = d < 0 ? -1 : 1; // trailing zeros are gone, so a longer equal start is larger
    return aNegative ? -magnitude : magnitude;
}

long double decimalValue(const DecimalParts &parts)
{
    static const long double powers[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L,
                                         1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L};
    long double value = 0;
    if (parts.whole.size() + parts.fraction.size() <= 18) {
        qint64 mantissa = 0;
        for (const char c : parts.whole)
            mantissa = mantissa * 10 + (c - '0');
        for (const char c : parts.fraction)
            mantissa = mantissa * 10 + (c - '0');
        value = static_cast<long double>(mantissa) / powers[parts.fraction.size()];
    } else {
        const QByteArray text = parts.whole.toByteArray() + '.' + parts.fraction.toByteArray();
        value = std::strtold(text.constData(), nullptr);
    }
    return parts.negative ? -value : value;
}

QString plainText(const DecimalParts &parts)
{
    const QByteArray whole = parts.whole.isEmpty() ? QByteArray("0") : parts.whole.toByteArray();
    QByteArray fraction = parts.fraction.toByteArray();
    while (fraction.size() < parts.shownFraction)
        fraction += '0';
    const bool negative = parts.negative && !parts.zero();
    return QString::fromLatin1((negative ? "-" : "") + whole + (fraction.isEmpty() ? "" : "." + fraction));
}

bool overloaded(QLatin1StringView display)
{
    return display == QLatin1StringView("OL") || display == QLatin1StringView("-OL");
}

QString fixed(long double value, int digits)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%.*Lf", digits, value);
    QString text = QString::fromLatin1(buffer);
    static const QRegularExpression negativeZero(QStringLiteral("^-[0.]+$"));
    if (negativeZero.match(text).hasMatch())
        text.remove(0, 1); // a tiny negative rounds to zero, shown unsigned
    return text;
}

// "hh:mm:ss" with each part in its range, read without Qt's parsing: the
// statistics of a million rows cannot afford a QTime per row.
bool validClock(QLatin1StringView text)
{
    if (text.size() != 8 || text[2] != QLatin1Char(':') || text[5] != QLatin1Char(':'))
        return false;
    const auto part = [&](int at, int limit) {
        const char a = text[at].toLatin1();
        const char b = text[at + 1].toLatin1();
        return a >= '0' && a <= '9' && b >= '0' && b <= '9' && (a - '0') * 10 + (b - '0') < limit;
    };
    return part(0, 24) && part(3, 60) && part(6, 60);
}

} // namespace

int StatisticsAccumulator::add(qint64 record, QLatin1StringView display, QLatin1StringView unit,
                               QLatin1StringView acDc, bool hasTime)
{
    display = display.trimmed();
    const bool isOverload = overloaded(display);
    const DecimalParts parts = isOverload ? DecimalParts{} : decimalParts(QByteArrayView(display.data(), display.size()));
    if (!hasTime || (!isOverload && !parts.ok)) {
        ++stats_.withoutReading;
        return NoEnd;
    }
    unit = unit.trimmed();
    acDc = acDc.trimmed();
    if (!functionChosen_) {
        functionChosen_ = true;
        unit_ = QByteArray(unit.data(), unit.size());
        acDc_ = QByteArray(acDc.data(), acDc.size());
        stats_.function = acDc.isEmpty() ? QString(unit) : unit + QLatin1Char(' ') + acDc;
    } else if (unit != QLatin1StringView(unit_) || acDc != QLatin1StringView(acDc_)) {
        ++stats_.otherFunction;
        return NoEnd;
    }
    if (isOverload) {
        ++stats_.overloaded;
        return NoEnd;
    }
    int ends = NoEnd;
    const bool first = stats_.count == 0;
    const auto endFor = [&](StatisticsExtreme &end, QByteArray &held, int sign, Ends which) {
        if (first || compareDecimals(parts, decimalParts(held)) * sign > 0) {
            end = {plainText(parts), record, {}};
            held = end.value.toLatin1();
            ends |= which;
        }
    };
    endFor(stats_.minimum, minimumText_, -1, NewMinimum);
    endFor(stats_.maximum, maximumText_, 1, NewMaximum);
    // Welford: the running mean and the sum of squared distances from it.
    const long double x = decimalValue(parts);
    ++stats_.count;
    const long double delta = x - stats_.mean;
    stats_.mean += delta / static_cast<long double>(stats_.count);
    m2_ += delta * (x - stats_.mean);
    stats_.deviation = stats_.count > 1 ? std::sqrt(m2_ / static_cast<long double>(stats_.count - 1)) : 0;
    stats_.fractionDigits = std::max(stats_.fractionDigits, parts.shownFraction);
    return ends;
}

ReadingStatistics listStatistics(const RecordListModel &list, RowSpan span)
{
    const qint64 first = std::max<qint64>(span.first, 1);
    const qint64 last = span.last < span.first ? list.recordCount()
                                               : std::min<qint64>(span.last, list.recordCount());
    StatisticsAccumulator accumulator;
    QLatin1StringView lastDate;
    bool lastDateValid = false;
    list.forEachRow(first, last, [&](qint64 row, const RecordListModel::Cells &cells) {
        const QLatin1StringView date = cells[common::DataRecord::Date].trimmed();
        if (row == first || date != lastDate) {
            lastDate = date;
            lastDateValid = isoRecordTime(date, QStringLiteral("00:00:00")).has_value();
        }
        const bool hasTime = lastDateValid && validClock(cells[common::DataRecord::Time].trimmed());
        accumulator.add(row, cells[common::DataRecord::Value], cells[common::DataRecord::Unit],
                        cells[common::DataRecord::AcDc], hasTime);
    });
    ReadingStatistics stats = accumulator.result();
    for (StatisticsExtreme *end : {&stats.minimum, &stats.maximum}) {
        if (end->record > 0)
            end->time = isoRecordTime(list.cell(end->record, common::DataRecord::Date),
                                      list.cell(end->record, common::DataRecord::Time))
                            .value_or(QString());
    }
    return stats;
}

QStringList statisticsLines(const ReadingStatistics &stats)
{
    QStringList lines;
    if (stats.count == 0) {
        lines << QStringLiteral("No reading to count.");
    } else {
        const int digits = stats.fractionDigits + 1;
        const auto end = [](const StatisticsExtreme &e) {
            return QStringLiteral("%1 (record %2, %3)").arg(e.value).arg(e.record).arg(e.time);
        };
        lines << QStringLiteral("Function: %1").arg(stats.function)
              << QStringLiteral("Readings: %1").arg(stats.count)
              << QStringLiteral("Minimum: ") + end(stats.minimum)
              << QStringLiteral("Maximum: ") + end(stats.maximum)
              << QStringLiteral("Mean: ") + fixed(stats.mean, digits)
              << QStringLiteral("Standard deviation: ")
                     + (stats.count > 1 ? fixed(stats.deviation, digits) : QStringLiteral("-"));
    }
    lines << QStringLiteral("Left out: %1 overloaded, %2 of another function, %3 without a reading")
                 .arg(stats.overloaded)
                 .arg(stats.otherFunction)
                 .arg(stats.withoutReading);
    return lines;
}

} // namespace recording
