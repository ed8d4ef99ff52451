#include "recording/readingexport.h"

#include <QDate>

#include <algorithm>


namespace recording {

namespace {

bool isOverload(const QString &display)
{
    return display == QLatin1String("OL") || display == QLatin1String("-OL");
}

// The indicators in a fixed order, so that equal readings give equal text.
QStringList liveFlags(const common::MeterReading &reading)
{
    QStringList flags;
    if (!reading.acDcText.isEmpty())
        flags << reading.acDcText;
    if (!reading.rangeModeText.isEmpty())
        flags << reading.rangeModeText;
    if (!reading.batteryText.isEmpty())
        flags << QStringLiteral("LOW_BATTERY");
    if (reading.overload)
        flags << QStringLiteral("OL");
    if (reading.minMode)
        flags << QStringLiteral("MIN");
    if (reading.maxMode)
        flags << QStringLiteral("MAX");
    if (reading.relMode)
        flags << QStringLiteral("REL");
    return flags;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// Two ASCII digits at `at`, or -1.
int twoDigitsAt(QStringView text, int at)
{
    const char16_t a = text[at].unicode();
    const char16_t b = text[at + 1].unicode();
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return -1;
    return (a - u'0') * 10 + (b - u'0');
}

void appendCsvField(QByteArray &out, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const auto needsQuotes = [](char c) { return c == ',' || c == '"' || c == '\n' || c == '\r'; };
    if (std::none_of(bytes.begin(), bytes.end(), needsQuotes)) {
        out += bytes;
        return;
    }
    out += '"';
    out += QByteArray(bytes).replace("\"", "\"\"");
    out += '"';
}

bool needsJsonEscape(char c)
{
    return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
}

void appendJsonString(QByteArray &out, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    out += '"';
    if (std::none_of(bytes.begin(), bytes.end(), needsJsonEscape)) {
        out += bytes; // the common case: nothing to escape
        out += '"';
        return;
    }
    for (const char c : bytes) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (needsJsonEscape(c))
                out += QByteArray("\\u00") + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    out += '"';
}

} // namespace

QString isoTimeWithOffset(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"))
           + (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) + twoDigits(minutes / 60)
           + QLatin1Char(':') + twoDigits(minutes % 60);
}

std::optional<QString> isoRecordTime(const QString &date, const QString &time)
{
    // Read by hand: Qt's "yy" means 1900-1999, where 00-02-29 does not exist,
    // and its date parser costs more than a whole exported row may.
    const QStringView d = QStringView(date).trimmed();
    const QStringView t = QStringView(time).trimmed();
    if (d.size() != 8 || t.size() != 8 || d[2] != QLatin1Char('-') || d[5] != QLatin1Char('-')
        || t[2] != QLatin1Char(':') || t[5] != QLatin1Char(':'))
        return std::nullopt;
    const int yy = twoDigitsAt(d, 0);
    const int hour = twoDigitsAt(t, 0);
    const int minute = twoDigitsAt(t, 3);
    const int second = twoDigitsAt(t, 6);
    const QDate day(yy < 69 ? 2000 + yy : 1900 + yy, twoDigitsAt(d, 3), twoDigitsAt(d, 6));
    if (yy < 0 || !day.isValid() || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0
        || second > 59)
        return std::nullopt;
    char text[] = "yyyy-MM-ddThh:mm:ss";
    const auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = char('0' + value % 10);
    };
    put(0, day.year(), 4);
    put(5, day.month(), 2);
    put(8, day.day(), 2);
    put(11, hour, 2);
    put(14, minute, 2);
    put(17, second, 2);
    return QString::fromLatin1(text, 19);
}

QString plainDecimal(const QString &display)
{
    const QStringView text = QStringView(display).trimmed();
    qsizetype i = 0;
    const bool negative = i < text.size() && text[i] == QLatin1Char('-');
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    const auto isDigit = [&](qsizetype at) {
        return at < text.size() && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9');
    };
    const qsizetype wholeStart = i;
    while (isDigit(i))
        ++i;
    const qsizetype wholeEnd = i;
    const bool point = i < text.size() && text[i] == QLatin1Char('.');
    const qsizetype fractionStart = point ? ++i : i;
    while (isDigit(i))
        ++i;
    if (i != text.size() || (wholeEnd == wholeStart && i == fractionStart))
        return {};
    qsizetype zeros = wholeStart;
    while (zeros < wholeEnd - 1 && text[zeros] == QLatin1Char('0'))
        ++zeros;
    QString out;
    out.reserve(text.size() + 2);
    if (negative)
        out += QLatin1Char('-');
    if (wholeEnd == wholeStart)
        out += QLatin1Char('0');
    else
        out += text.sliced(zeros, wholeEnd - zeros);
    if (i > fractionStart)
        out += QLatin1Char('.') + text.sliced(fractionStart, i - fractionStart).toString();
    return out;
}

ExportedReading exportedReading(const common::MeterReading &reading, const QDateTime &time)
{
    return {isoTimeWithOffset(time), reading.valueText, reading.functionText, reading.rangeText,
            liveFlags(reading)};
}

std::optional<ExportedReading> exportedRecord(const common::DataRecord &record)
{
    using F = common::DataRecord;
    const auto time = isoRecordTime(record[F::Date], record[F::Time]);
    const QString display = record[F::Value].trimmed();
    if (!time || (!isOverload(display) && plainDecimal(display).isEmpty()))
        return std::nullopt;
    ExportedReading out{*time, display, record[F::Unit].trimmed(), record[F::Range].trimmed(), {}};
    if (const QString acDc = record[F::AcDc].trimmed(); !acDc.isEmpty())
        out.flags << acDc;
    if (!record[F::Bat].trimmed().isEmpty())
        out.flags << QStringLiteral("LOW_BATTERY");
    if (isOverload(display))
        out.flags << QStringLiteral("OL");
    return out;
}

QByteArray csvHeader()
{
    return QByteArrayLiteral("time,value,function,range,flags,display\n");
}

QByteArray csvLine(const ExportedReading &reading)
{
    const QString value = isOverload(reading.display) ? QString() : plainDecimal(reading.display);
    QByteArray out;
    out.reserve(96);
    for (const QString *field : {&reading.time, &value, &reading.function, &reading.range}) {
        appendCsvField(out, *field);
        out += ',';
    }
    appendCsvField(out, reading.flags.join(QLatin1Char(' ')));
    out += ',';
    appendCsvField(out, reading.display);
    out += '\n';
    return out;
}

QByteArray jsonLine(const ExportedReading &reading)
{
    const QString value = isOverload(reading.display) ? QString() : plainDecimal(reading.display);
    QByteArray out;
    out.reserve(160);
    out += "{\"time\":";
    appendJsonString(out, reading.time);
    out += ",\"value\":";
    out += value.isEmpty() ? QByteArray("null") : value.toLatin1();
    out += ",\"function\":";
    appendJsonString(out, reading.function);
    out += ",\"range\":";
    appendJsonString(out, reading.range);
    out += ",\"flags\":[";
    for (qsizetype i = 0; i < reading.flags.size(); ++i) {
        if (i > 0)
            out += ',';
        appendJsonString(out, reading.flags[i]);
    }
    out += "],\"display\":";
    appendJsonString(out, reading.display);
    out += "}\n";
    return out;
}

QByteArray analogLine(const ExportedReading &reading)
{
    constexpr int clockStart = 11; // after "yyyy-MM-ddT"
    constexpr int clockLength = 8;
    QStringList parts{reading.display, reading.function, reading.range};
    parts += reading.flags;
    parts.removeAll(QString());
    return (reading.time.mid(clockStart, clockLength) + QStringLiteral("  ")
            + parts.join(QLatin1Char(' ')))
               .toUtf8()
           + '\n';
}

} // namespace recording
