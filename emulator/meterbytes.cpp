#include "emulator/meterbytes.h"

namespace emulator {

namespace {

char byteOf(unsigned value)
{
    return char(value & 0xFFu);
}

void appendU16(QByteArray &out, unsigned value)
{
    out.append(byteOf(value >> 8));
    out.append(byteOf(value));
}

char bcdByte(int twoDigits)
{
    return byteOf(unsigned((twoDigits / 10) % 10 * 16 + twoDigits % 10));
}

int fromBcd(char byte)
{
    const unsigned b = quint8(byte);
    if ((b >> 4) > 9 || (b & 0xFu) > 9)
        return -1;
    return int((b >> 4) * 10 + (b & 0xFu));
}

} // namespace

QByteArray bcdDigits(quint32 digits)
{
    QByteArray out;
    for (quint32 divisor : {10000u, 100u, 1u})
        out.append(bcdByte(int(digits / divisor % 100)));
    return out;
}

QByteArray liveFrame(quint8 code, const QByteArray &valueBytes, quint8 status)
{
    QByteArray frame;
    frame.append(char(2));
    frame.append(char(code));
    frame.append(valueBytes.left(3));
    frame.append(char(status));
    frame.append(char(3));
    return frame;
}

QByteArray clockBytes(const QDateTime &time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    QByteArray out;
    for (int field : {d.year() % 100, d.month(), d.day(), t.hour(), t.minute(), t.second()})
        out.append(bcdByte(field));
    return out;
}

std::optional<QDateTime> clockFromBytes(const QByteArray &bytes)
{
    if (bytes.size() < 6)
        return std::nullopt;
    int f[6];
    for (int i = 0; i < 6; ++i) {
        f[i] = fromBcd(bytes.at(i));
        if (f[i] < 0)
            return std::nullopt;
    }
    const QDate date(2000 + f[0], f[1], f[2]);
    const QTime time(f[3], f[4], f[5]);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

QByteArray statusBlock(const LoggerContent &content)
{
    QByteArray out;
    appendU16(out, content.idCode);
    appendU16(out, 0);
    const quint32 used = content.bytesInUse();
    appendU16(out, used >> 16);
    appendU16(out, used);
    appendU16(out, content.samplingTime);
    return out;
}

QByteArray setDirectory(const LoggerContent &content)
{
    QByteArray out;
    for (const LoggerSet &set : content.sets) {
        out.append(clockBytes(set.start));
        out.append(4, char(0));
        appendU16(out, unsigned(set.records.size()));
    }
    return out;
}

QByteArray recordBytes(const LoggerRecord &record)
{
    QByteArray out;
    out.append(char(record.code));
    if (record.rawValue) {
        out.append(byteOf(record.digits >> 16));
        out.append(byteOf(record.digits >> 8));
        out.append(byteOf(record.digits));
    } else {
        out.append(bcdDigits(record.digits));
    }
    out.append(char(record.status));
    return out;
}

QByteArray setDownload(const LoggerSet &set)
{
    QByteArray out = clockBytes(set.start);
    appendU16(out, 0);
    appendU16(out, set.interval);
    appendU16(out, 0);
    for (const LoggerRecord &record : set.records)
        out.append(recordBytes(record));
    return out;
}

} // namespace emulator
