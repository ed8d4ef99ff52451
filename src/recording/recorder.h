#pragma once

#include "recording/datafileformat.h"
#include "recording/datafilewriter.h"

#include <QDateTime>
#include <QString>

namespace recording {

// The file side of a recording: the open file and the count of lines
// written since it started. One tick writes one recorded line.
class Recorder
{
public:
    // Opens the file for appending, mending a broken last line first;
    // false (errorText() says why) when it cannot be opened. The record
    // count starts again at 0.
    bool start(const QString &fileName);
    // Bytes of a broken last line that start() removed (0: none).
    qint64 cutAtStart() const { return file_.cutAtOpen(); }

    // Writes the line built from the panel's texts at `now` under the next
    // record number. False when the line could not be written whole: the
    // lines before it stay in the file, and the part of it that was written
    // is taken back unless endsInsideALine() says it could not be.
    bool writeTick(const PanelTexts &texts, const QDateTime &now);
    bool endsInsideALine() const { return file_.endsInsideALine(); }

    // Closes the file.
    void stop();

    bool isOpen() const { return file_.isOpen(); }
    qint32 recordCount() const { return recordCount_; }
    void resetCount() { recordCount_ = 0; }
    QString fileName() const { return file_.fileName(); }
    QString errorText() const { return file_.errorText(); }

private:
    RecordingFile file_;
    qint32 recordCount_ = 0;
};

} // namespace recording
