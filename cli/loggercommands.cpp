#include "cli/loggercommands.h"

#include "cli/liverun.h"
#include "cli/output.h"
#include "cli/statsreport.h"
#include "common/numbers.h"
#include "logger/download.h"
#include "logger/messages.h"
#include "logger/panelrequests.h"
#include "logger/setdirectory.h"
#include "logger/setselection.h"
#include "logger/storedrecordclock.h"
#include "logger/timing.h"
#include "recording/readingexport.h"

#include <cstdio>

namespace cli {

namespace {

void printLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

const logger::Caption noCaption = [](const QString &) {};

// The record list of a download, kept as its rows.
class CollectedRows : public logger::DownloadWindows
{
public:
    void setMemoryButtonEnabled(bool) override {}
    void closeRecordList() override { rows.clear(); }
    void setStatusCaption(const QString &) override {}
    void setProgressCaption(const QString &) override {}
    void createRecordList() override { rows.clear(); }
    void decodingRecord(qint64) override {}
    void appendRecordRow(const QString &row) override { rows << row; }
    void setFunctionRangeTexts(const QString &, const QString &) override {}
    void disableShowData() override {}
    void showRecordList(const QString &, qint64) override {}

    QStringList rows;
};

} // namespace

LoggerCommands::LoggerCommands(const Parts &parts)
    : parts_(parts)
    , exchange_({parts.port, parts.clock, parts.pump, dialogs_, polling_})
    , requests_(exchange_, buffer_)
{
}

int LoggerCommands::run(const Options &options)
{
    switch (options.action) {
    case Action::LoggerStatus:
        return status();
    case Action::ListSets:
        return listSets();
    case Action::Download:
        return download(options);
    case Action::GetClock:
        return getClock();
    case Action::SetClock:
        return setClock();
    case Action::SetId:
        return writeSetting(true, options.number);
    case Action::SetSampling:
        return writeSetting(false, options.number);
    case Action::SetMemoryIcs:
        return setMemoryIcs(options.number);
    default:
        return 2;
    }
}

int LoggerCommands::status()
{
    auto lock = exchange_.tryLock();
    exchange_.pausePolling();
    const logger::Outcome<logger::OpeningStatus> outcome = requests_.openingStatus();
    if (!outcome.ok()) {
        exchange_.abandon(outcome.failure, noCaption);
        return 1;
    }
    const logger::OpeningStatus &opening = *outcome.value;
    exchange_.finish(noCaption);
    const QString size = logger::memorySizeText(opening.sizeK);
    printLine(QStringLiteral("memory size: ") + size);
    printLine(QStringLiteral("remaining memory: ")
              + (opening.setCount == 0
                     ? size
                     : logger::remainingText(opening.sizeK, opening.status.bytesInUse)));
    printLine(QStringLiteral("ID code: %1").arg(opening.status.idCode));
    printLine(QStringLiteral("sampling time: %1 s").arg(opening.status.samplingTime));
    printLine(QStringLiteral("number of sets: %1").arg(opening.setCount));
    return 0;
}

std::optional<QByteArray> LoggerCommands::readDirectory(int &setCount)
{
    exchange_.pausePolling();
    const logger::Outcome<int> sets = requests_.numberOfSets();
    if (!sets.ok()) {
        exchange_.abandon(sets.failure, noCaption);
        return std::nullopt;
    }
    setCount = *sets.value;
    const logger::Outcome<QByteArray> directory = requests_.setDirectory(setCount);
    if (!directory.ok()) {
        exchange_.abandon(directory.failure, noCaption);
        return std::nullopt;
    }
    requests_.releaseAfterSetList();
    return *directory.value;
}

int LoggerCommands::listSets()
{
    auto lock = exchange_.tryLock();
    int setCount = 0;
    const auto directory = readDirectory(setCount);
    if (!directory)
        return 1;
    if (setCount == 0)
        dialogs_.message(logger::text::noRecords, {}, platform::MessageIcon::None);
    for (int set = 1; set <= setCount; ++set) {
        const auto entry = logger::directoryEntry(*directory, set);
        if (!entry)
            break;
        printLine(QStringLiteral("%1  %2 %3  %4")
                      .arg(set)
                      .arg(logger::recordDateText(entry->start), logger::recordTimeText(entry->start))
                      .arg(entry->records));
    }
    return 0;
}

int LoggerCommands::download(const Options &options)
{
    const int setNumber = options.number;
    int setCount = 0;
    std::optional<QByteArray> directory;
    {
        auto lock = exchange_.tryLock();
        directory = readDirectory(setCount);
    }
    if (!directory)
        return 1;
    const QString setCountText = QString::number(setCount);
    const logger::SetChoice choice = logger::chooseSet(QString::number(setNumber), setCountText,
                                                       *directory, shared_.valueByteFlag);
    if (choice.kind != logger::SetChoice::Kind::Chosen) {
        printError(QStringLiteral("set %1 does not exist: the meter holds %2 set(s)")
                       .arg(setNumber)
                       .arg(setCount));
        return 1;
    }
    CollectedRows rows;
    logger::SetDownload downloadRun({exchange_, buffer_, shared_, rows});
    logger::DownloadRequest request;
    request.setNumber = setNumber;
    request.expectedRecords = logger::recordCountOf(choice.recordsText);
    request.lastSet = setNumber == setCount;
    if (downloadRun.run(request) == logger::SetDownload::Result::Failed)
        return 1;
    QString errorText;
    if (!writeDownload(rows.rows, options.format, options.outputFile, &errorText)) {
        printError(errorText);
        return 1;
    }
    if (options.stats)
        printStatistics(downloadStatistics(rows.rows));
    return 0;
}

int LoggerCommands::getClock()
{
    auto lock = exchange_.tryLock();
    exchange_.pausePolling();
    const logger::Outcome<logger::MeterClock> clock = requests_.meterClock();
    if (!clock.ok()) {
        exchange_.abandon(clock.failure, noCaption);
        return 1;
    }
    exchange_.finish(noCaption);
    const auto iso = recording::isoRecordTime(logger::recordDateText(*clock.value),
                                              logger::recordTimeText(*clock.value));
    printLine(iso ? *iso : logger::meterClockText(*clock.value));
    return 0;
}

int LoggerCommands::setClock()
{
    auto lock = exchange_.tryLock();
    logger::PanelCommandBuffer panelBuffer;
    logger::PanelRequests(exchange_, panelBuffer).setMeterClock(noCaption, QString());
    return endOfWrite();
}

int LoggerCommands::writeSetting(bool idCode, int value)
{
    auto lock = exchange_.tryLock();
    exchange_.pausePolling();
    if (!exchange_.attention(logger::attentionSeconds)) {
        exchange_.finish(noCaption);
        return 1;
    }
    if (idCode)
        requests_.writeIdCode(quint16(value));
    else
        requests_.writeSamplingTime(quint16(value));
    exchange_.finish(noCaption);
    return endOfWrite();
}

int LoggerCommands::setMemoryIcs(int ics)
{
    const logger::IcCountAnswer answer = logger::parseIcCount(QString::number(ics));
    if (answer.kind != logger::IcCountAnswer::Kind::Code) {
        dialogs_.message(logger::text::icPairs, {}, platform::MessageIcon::Critical);
        return 2;
    }
    auto lock = exchange_.tryLock();
    logger::PanelCommandBuffer panelBuffer;
    logger::PanelRequests(exchange_, panelBuffer).writeMemorySize(answer.code);
    return endOfWrite();
}

// The writes await no reply: only a device that went away shows they failed.
int LoggerCommands::endOfWrite()
{
    if (!parts_.port.deviceLost() && parts_.port.isOpen())
        return 0;
    dialogs_.message(logger::text::portLost, {}, platform::MessageIcon::Critical);
    return 1;
}

} // namespace cli
