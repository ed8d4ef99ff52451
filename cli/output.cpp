#include "cli/output.h"

#include "recording/datafileformat.h"
#include "recording/readingexport.h"

#include <unistd.h>

namespace cli {

bool LineOutput::openStandardOutput()
{
    if (file_.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return true;
    return fail(QStringLiteral("standard output"));
}

bool LineOutput::openFile(const QString &fileName)
{
    file_.setFileName(fileName);
    if (file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return true;
    return fail(fileName);
}

bool LineOutput::write(const QByteArray &line)
{
    if (file_.write(line) == line.size())
        return true;
    return fail(file_.fileName().isEmpty() ? QStringLiteral("standard output") : file_.fileName());
}

bool LineOutput::fail(const QString &what)
{
    errorText_ = QStringLiteral("cannot write to %1: %2").arg(what, file_.errorString());
    return false;
}

bool LiveWriter::open(Format format, const QString &fileName)
{
    format_ = format;
    toRecorder_ = format == Format::Dat && !fileName.isEmpty();
    bool ok = true;
    if (toRecorder_) {
        ok = recorder_.start(fileName);
        if (!ok)
            errorText_ = QStringLiteral("cannot write to %1: %2").arg(fileName, recorder_.errorText());
    } else {
        ok = fileName.isEmpty() ? output_.openStandardOutput() : output_.openFile(fileName);
        if (ok && format == Format::Csv)
            ok = output_.write(recording::csvHeader());
        if (!ok)
            errorText_ = output_.errorText();
    }
    return ok;
}

bool LiveWriter::write(const common::MeterReading &reading, const QDateTime &time)
{
    if (toRecorder_) {
        const recording::PanelTexts texts{reading.valueText, reading.functionText,
                                          reading.rangeText, reading.acDcText, reading.batteryText};
        if (recorder_.writeTick(texts, time))
            return true;
        errorText_ = QStringLiteral("cannot write to %1: %2").arg(recorder_.fileName(),
                                                                  recorder_.errorText());
        return false;
    }
    if (output_.write(lineFor(reading, time)))
        return true;
    errorText_ = output_.errorText();
    return false;
}

QByteArray LiveWriter::lineFor(const common::MeterReading &reading, const QDateTime &time)
{
    if (format_ == Format::Dat) {
        const recording::PanelTexts texts{reading.valueText, reading.functionText,
                                          reading.rangeText, reading.acDcText, reading.batteryText};
        return recording::recordedLine(recording::recordedRecord(++written_, time, texts));
    }
    const recording::ExportedReading exported = recording::exportedReading(reading, time);
    switch (format_) {
    case Format::Csv:
        return recording::csvLine(exported);
    case Format::Jsonl:
        return recording::jsonLine(exported);
    default:
        return recording::analogLine(exported);
    }
}

} // namespace cli
