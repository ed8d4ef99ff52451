#pragma once

#include "cli/options.h"
#include "common/meterreading.h"
#include "recording/recorder.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

namespace cli {

// Standard output or a file, written line by line with no buffer of our
// own: each line is one system write, so a reader sees it at once and a
// kill loses no completed line.
class LineOutput
{
public:
    // Standard output.
    bool openStandardOutput();
    // Replaces the file.
    bool openFile(const QString &fileName);
    bool write(const QByteArray &line);
    // "cannot write to FILE: reason"
    QString errorText() const { return errorText_; }

private:
    bool fail(const QString &what);

    QFile file_;
    QString errorText_;
};

// Live readings in the chosen format. `dat` to a file appends through the
// recording's own file, numbered from 1 as a recording is.
class LiveWriter
{
public:
    // Opens standard output or `fileName`; false with errorText().
    bool open(Format format, const QString &fileName);
    bool write(const common::MeterReading &reading, const QDateTime &time);
    QString errorText() const { return errorText_; }

private:
    QByteArray lineFor(const common::MeterReading &reading, const QDateTime &time);

    Format format_ = Format::Analog;
    LineOutput output_;
    recording::Recorder recorder_;
    bool toRecorder_ = false;
    qint32 written_ = 0;
    QString errorText_;
};

} // namespace cli
