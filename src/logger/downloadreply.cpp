#include "logger/downloadreply.h"

namespace logger {

std::optional<SetHeader> setHeaderFrom(QByteArrayView reply)
{
    if (reply.size() < setHeaderBytes)
        return std::nullopt;
    const auto start = meterClockFrom(reply);
    if (!start)
        return std::nullopt;
    const auto byte = [&](qsizetype index) { return int(static_cast<quint8>(reply[index])); };
    return SetHeader{*start, 256 * byte(8) + byte(9)};
}

QByteArrayView recordAt(QByteArrayView reply, qint64 n)
{
    Q_ASSERT(n >= 1 && n <= recordsIn(reply.size()));
    return reply.sliced(qsizetype(downloadReplyBytes(n - 1)), storedRecordBytes);
}

QString recordsCompletedText(qint64 count)
{
    return QString::number(count) + QStringLiteral(" RECORDS COMPLETED");
}

QString downloadSummaryText(qint64 count, int setNumber)
{
    return QString::number(count) + QStringLiteral("  RECORDS IN NO. ")
           + QString::number(setNumber) + QStringLiteral("  SET");
}

QString incompleteDownloadText(qint64 received, qint64 expected)
{
    return QStringLiteral("Wait Time Out ! Only %1 of %2 Records Received ! Try Again !")
        .arg(received)
        .arg(expected);
}

} // namespace logger
