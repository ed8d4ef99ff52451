#include "logger/loggerrequests.h"

#include "logger/messages.h"
#include "logger/setdirectory.h"
#include "logger/timing.h"

namespace logger {

namespace {
constexpr float settingWriteSeconds = 0.2f;
constexpr float setListReleaseSeconds = 0.1f;
} // namespace

Outcome<StatusBlock> LoggerRequests::statusBlock()
{
    Failure last = Failure::TimedOut;
    for (int attempt = 0; attempt < statusAttempts; ++attempt) {
        if (!exchange_.attention(attentionSeconds))
            return Outcome<StatusBlock>::failed({});
        exchange_.send(QByteArrayLiteral("Y"));
        const Reply reply = exchange_.collectCount(statusBlockBytes, statusReplySeconds, true);
        if (reply.failure == Failure::PortLost || reply.failure == Failure::Ending)
            return Outcome<StatusBlock>::failed(exchange_.noticeFor(reply.failure));
        if (const auto block = parseStatusBlock(reply.bytes); block && reply.ok())
            return Outcome<StatusBlock>::success(*block);
        // No reply in time, or one of another length: start again.
        last = reply.ok() ? Failure::WrongLength : reply.failure;
    }
    return Outcome<StatusBlock>::failed(exchange_.noticeFor(last, text::timeOutExit));
}

Reply LoggerRequests::readByte(quint8 memoryAddress, double limitSeconds)
{
    exchange_.send(buffer_.readByte(memoryAddress));
    return exchange_.collectCount(1, limitSeconds);
}

Outcome<OpeningStatus> LoggerRequests::openingStatus()
{
    const auto block = statusBlock();
    if (!block.ok())
        return Outcome<OpeningStatus>::failed(block.failure);

    const Reply code = readByte(address::memorySizeCode, byteReplySeconds);
    if (!code.ok())
        return Outcome<OpeningStatus>::failed(exchange_.noticeFor(code.failure, text::timeOutExit));
    const int memoryCode = quint8(code.bytes.at(0));
    const auto sizeK = memorySizeK(memoryCode);
    if (!sizeK)
        return Outcome<OpeningStatus>::failed(
            {text::invalidMemorySize(), platform::MessageIcon::Critical, false});

    const Reply sets = readByte(address::numberOfSets, byteReplySeconds);
    if (!sets.ok()) {
        FailureNotice notice = exchange_.noticeFor(sets.failure, text::timeOutTryAgain);
        notice.flushInput = false; // this time-out leaves the input alone
        return Outcome<OpeningStatus>::failed(notice);
    }
    return Outcome<OpeningStatus>::success(
        {*block.value, memoryCode, *sizeK, int(quint8(sets.bytes.at(0)))});
}

Outcome<int> LoggerRequests::numberOfSets()
{
    if (!exchange_.attention(attentionSeconds))
        return Outcome<int>::failed({});
    exchange_.send(buffer_.readByte(address::numberOfSets));
    const Reply reply = exchange_.collectAny(replyLimitSeconds(1));
    if (!reply.ok())
        return Outcome<int>::failed(exchange_.noticeFor(reply.failure));
    return Outcome<int>::success(quint8(reply.bytes.at(0)));
}

Outcome<QByteArray> LoggerRequests::setDirectory(int setCount,
                                                 const std::function<void(qint64)> &progress)
{
    if (!exchange_.attention(attentionSeconds))
        return Outcome<QByteArray>::failed({});
    exchange_.send(QByteArrayLiteral("I"));
    const qint64 expected = qint64(std::max(setCount, 0)) * directoryEntryBytes;
    const Reply reply = exchange_.accumulate(expected, accumulateLimits(expected), progress);
    if (!reply.ok())
        return Outcome<QByteArray>::failed(exchange_.noticeFor(reply.failure));
    return Outcome<QByteArray>::success(reply.bytes);
}

void LoggerRequests::releaseAfterSetList()
{
    exchange_.release();
    exchange_.wait(setListReleaseSeconds);
    exchange_.discardInput();
    exchange_.wait(setListReleaseSeconds);
    exchange_.resumePolling();
    exchange_.release();
    exchange_.wait(setListReleaseSeconds);
}

Outcome<MeterClock> LoggerRequests::meterClock()
{
    platform::SerialPort &port = exchange_.port();
    if (!port.isOpen())
        port.open();
    if (!exchange_.attention(shortAttentionSeconds))
        return Outcome<MeterClock>::failed({});
    exchange_.send(QByteArrayLiteral("C"));
    const Reply reply
        = exchange_.collectExactly(clockValueBytes, replyLimitSeconds(clockValueBytes));
    if (!reply.ok())
        return Outcome<MeterClock>::failed(exchange_.noticeFor(reply.failure));
    return Outcome<MeterClock>::success(*meterClockFrom(reply.bytes));
}

void LoggerRequests::writeIdCode(quint16 value)
{
    exchange_.send(buffer_.writeByte(address::idCodeHigh, quint8(value >> 8)));
    exchange_.discardInput();
    exchange_.discardInput();
    exchange_.wait(settingWriteSeconds);
    exchange_.send(buffer_.writeByte(address::idCodeLow, quint8(value & 0xFF)));
    exchange_.wait(settingWriteSeconds);
    exchange_.discardInput();
}

void LoggerRequests::writeSamplingTime(quint16 value)
{
    exchange_.send(buffer_.writeByte(address::samplingHigh, quint8(value >> 8)));
    exchange_.wait(settingWriteSeconds);
    exchange_.discardInput();
    exchange_.send(buffer_.writeByte(address::samplingLow, quint8(value & 0xFF)));
}

} // namespace logger
