#include "logger/download.h"

#include "common/numbers.h"
#include "logger/downloadreply.h"
#include "logger/messages.h"
#include "logger/storedrecord.h"
#include "logger/storedrecordclock.h"
#include "logger/storedrecordrow.h"
#include "logger/timing.h"

#include <algorithm>

namespace logger {

namespace {

constexpr float releasePauseSeconds = 0.01f;
constexpr qint64 largestRecordCount = 65535; // the directory's 16-bit count
constexpr int lastSetNumber = 256;

} // namespace

qint64 recordCountOf(const QString &label)
{
    return std::clamp<qint64>(common::roundHalfEven(common::leadingDecimal(label)), 0,
                              largestRecordCount);
}

SetDownload::SetDownload(const Parts &parts) : parts_(parts) {}

SetDownload::Result SetDownload::run(const DownloadRequest &request)
{
    Exchange &exchange = parts_.exchange;
    DownloadWindows &windows = parts_.windows;
    auto lock = exchange.tryLock();
    if (!lock)
        return Result::Busy;
    failure_ = {};
    windows.setMemoryButtonEnabled(false);
    windows.closeRecordList();
    if (request.expectedRecords <= 0 || request.setNumber < 1 || request.setNumber > lastSetNumber) {
        end();
        return Result::Nothing;
    }

    exchange.pausePolling();
    windows.setStatusCaption(text::pleaseWait);
    QByteArray reply;
    if (!collect(request, reply)) {
        if (!failure_.text.isEmpty())
            exchange.dialogs().message(failure_.text, {}, failure_.icon);
        if (failure_.flushInput)
            exchange.discardInput();
        windows.setStatusCaption({});
        end();
        return Result::Failed;
    }

    fillList(request, reply);
    windows.setStatusCaption({});
    windows.disableShowData();
    releaseTwice();
    windows.showRecordList(downloadSummaryText(request.expectedRecords, request.setNumber),
                           request.expectedRecords - 1);
    end();
    return Result::Listed;
}

bool SetDownload::collect(const DownloadRequest &request, QByteArray &reply)
{
    Exchange &exchange = parts_.exchange;
    if (!exchange.attention(attentionSeconds))
        return false; // the program is ending
    exchange.send(parts_.buffer.download(request.setNumber));

    const qint64 expectedBytes = downloadReplyBytes(request.expectedRecords);
    const Reply collected = exchange.accumulate(
        expectedBytes, accumulateLimits(expectedBytes), [this](qint64 length) {
            parts_.windows.setProgressCaption(recordsCompletedText(recordsIn(length) + 1));
        });
    if (collected.failure == Failure::TimedOut) {
        failure_ = {incompleteDownloadText(recordsIn(collected.bytes.size()), request.expectedRecords),
                    platform::MessageIcon::None, true};
        return false;
    }
    if (!collected.ok()) {
        failure_ = exchange.noticeFor(collected.failure);
        return false;
    }
    // Whatever follows the expected records still belongs to this reply.
    exchange.discardInput();
    reply = collected.bytes;
    return true;
}

void SetDownload::fillList(const DownloadRequest &request, const QByteArray &reply)
{
    DownloadWindows &windows = parts_.windows;
    common::SharedValues &shared = parts_.shared;
    const SetHeader header = setHeaderFrom(reply).value_or(SetHeader{});
    windows.createRecordList();
    shared.scaleMax = 0;
    const qint64 received = recordsIn(reply.size());
    if (shared.valueByteFlag == 1 && request.lastSet)
        windows.setProgressCaption(recordsCompletedText(received - 1));

    StoredRecordDecoder decoder(request.functionText, request.rangeText);
    StoredRecordClock clock(header.start, header.intervalSeconds);
    const qint64 count = std::min(request.expectedRecords, received);
    for (qint64 n = 1; n <= count; ++n) {
        windows.decodingRecord(n);
        const DecodedRecord record = decoder.decode(recordAt(reply, n), shared);
        windows.appendRecordRow(recordRowText(n, clock.next(), record));
    }
    windows.setFunctionRangeTexts(decoder.functionText(), decoder.rangeText());
}

void SetDownload::releaseTwice()
{
    Exchange &exchange = parts_.exchange;
    exchange.release();
    exchange.wait(releasePauseSeconds);
    exchange.resumePolling();
    exchange.release();
    exchange.wait(releasePauseSeconds);
}

void SetDownload::end()
{
    releaseTwice();
    parts_.windows.setMemoryButtonEnabled(true);
    parts_.windows.setProgressCaption({});
}

} // namespace logger
