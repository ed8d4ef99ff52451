#include "logger/setdirectory.h"

#include "common/numbers.h"

namespace logger {

std::optional<DirectoryEntry> directoryEntry(const QByteArray &directory, int setNumber)
{
    if (setNumber < 1 || qint64(setNumber) * directoryEntryBytes > directory.size())
        return std::nullopt;
    const QByteArrayView entry = QByteArrayView(directory).sliced(
        qsizetype(setNumber - 1) * directoryEntryBytes, directoryEntryBytes);
    DirectoryEntry result;
    result.start = *meterClockFrom(entry);
    result.records = 256 * quint8(entry[10]) + quint8(entry[11]);
    return result;
}

QStringList directoryRows(const QByteArray &directory, int setCount)
{
    QStringList rows;
    for (int set = 1; set <= setCount; ++set) {
        const auto entry = directoryEntry(directory, set);
        if (!entry)
            break;
        rows.append(common::numberText(double(set)) + u'\t' + setStartText(entry->start));
    }
    return rows;
}

QString setsCompletedText(qint64 bytesReceived)
{
    return common::numberText(double(wholeEntries(bytesReceived)))
           + QStringLiteral(" SETS COMPLETED");
}

} // namespace logger
