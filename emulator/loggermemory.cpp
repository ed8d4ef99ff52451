#include "emulator/loggermemory.h"

#include "emulator/meterbytes.h"

#include <cmath>

namespace emulator {

namespace {

// The fields of `time` as a plain UTC time, so that the clock never meets
// a daylight-saving gap.
QDateTime fieldsAsUtc(const QDateTime &time)
{
    if (!time.isValid())
        return QDateTime(QDate(2024, 1, 1), QTime(0, 0, 0), Qt::UTC);
    return QDateTime(time.date(), time.time(), Qt::UTC);
}

} // namespace

LoggerMemory::LoggerMemory()
{
    setContent(LoggerContent::sample(), 0.0);
}

void LoggerMemory::setContent(const LoggerContent &content, double now)
{
    content_ = content;
    setClock(content.clock, now);
}

LoggerContent LoggerMemory::content(double now) const
{
    LoggerContent result = content_;
    result.clock = clock(now);
    return result;
}

QDateTime LoggerMemory::clock(double now) const
{
    const double elapsed = std::max(0.0, now - clockSetAt_);
    return clockBase_.addSecs(qint64(std::floor(elapsed)));
}

void LoggerMemory::setClock(const QDateTime &time, double now)
{
    clockBase_ = fieldsAsUtc(time);
    clockSetAt_ = now;
}

quint8 LoggerMemory::readByte(int address) const
{
    switch (address) {
    case 128:
        return quint8(content_.idCode >> 8);
    case 129:
        return quint8(content_.idCode & 0xFF);
    case 130:
        return quint8(content_.samplingTime >> 8);
    case 131:
        return quint8(content_.samplingTime & 0xFF);
    case 134:
        return content_.memorySizeCode;
    case 135:
        return quint8(std::min<qsizetype>(content_.sets.size(), 255));
    default:
        return 0;
    }
}

void LoggerMemory::writeByte(int address, quint8 value)
{
    switch (address) {
    case 128:
        content_.idCode = quint16((value << 8) | (content_.idCode & 0xFF));
        break;
    case 129:
        content_.idCode = quint16((content_.idCode & 0xFF00) | value);
        break;
    case 130:
        content_.samplingTime = quint16((value << 8) | (content_.samplingTime & 0xFF));
        break;
    case 131:
        content_.samplingTime = quint16((content_.samplingTime & 0xFF00) | value);
        break;
    case 134:
        content_.memorySizeCode = value;
        break;
    default:
        break; // read-only or unused
    }
}

QByteArray LoggerMemory::answer(const QByteArray &request, double now)
{
    if (request.isEmpty())
        return {};
    const auto byteAt = [&](int i) { return i < request.size() ? quint8(request.at(i)) : quint8(0); };
    switch (request.at(0)) {
    case 'Y':
        return statusBlock(content_);
    case 'R':
        return QByteArray(1, char(readByte(byteAt(4))));
    case 'W':
        writeByte(byteAt(4), byteAt(5));
        return QByteArray(1, 'W');
    case 'I':
        return setDirectory(content_);
    case 'K': {
        const int index = byteAt(1);
        return index < content_.sets.size() ? setDownload(content_.sets.at(index)) : QByteArray();
    }
    case 'C':
        return clockBytes(clock(now));
    case 'D':
        if (const auto time = clockFromBytes(request.mid(1, 6)))
            setClock(*time, now);
        return QByteArray(1, 'D');
    default:
        return {};
    }
}

} // namespace emulator
