#include "recording/datafileformat.h"

#include "common/numbers.h"

namespace recording {

namespace {
const QByteArray lineEnd = QByteArrayLiteral("\r\n");
constexpr char tab = '\t';
constexpr char quote = '"';
} // namespace

QString normaliseValue(const QString &valueText)
{
    if (valueText == QLatin1String("OL"))
        return QStringLiteral("   OL  ");
    if (valueText == QLatin1String("-OL"))
        return QStringLiteral("  -OL  ");
    if (common::leadingDecimal(valueText).mantissa >= 0)
        return QLatin1Char(' ') + valueText;
    return valueText;
}

common::DataRecord recordedRecord(qint32 recordNumber, const QDateTime &now,
                                  const PanelTexts &texts)
{
    common::DataRecord record;
    record[common::DataRecord::Rec] = QString::number(recordNumber);
    record[common::DataRecord::Date] = now.date().toString(QStringLiteral("yy-MM-dd"));
    record[common::DataRecord::Time] = now.time().toString(QStringLiteral("HH:mm:ss"));
    record[common::DataRecord::Value] = normaliseValue(texts.value);
    record[common::DataRecord::Unit] = texts.function;
    record[common::DataRecord::Range] = texts.range;
    record[common::DataRecord::AcDc] = texts.acDc;
    record[common::DataRecord::Bat] = texts.battery.isEmpty() ? QString() : QStringLiteral("Low");
    return record;
}

QByteArray recordedLine(const common::DataRecord &record)
{
    QByteArray line;
    for (int field = 0; field < common::DataRecord::Bat; ++field)
        line += record[field].toLatin1() + tab;
    line += record[common::DataRecord::Bat].toLatin1();
    line += lineEnd;
    return line;
}

QByteArray quotedLine(const QStringList &cells)
{
    QByteArray line(1, quote);
    for (const QString &cell : cells)
        line += cell.toLatin1() + tab;
    line += quote;
    line += lineEnd;
    return line;
}

} // namespace recording
