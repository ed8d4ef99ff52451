#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace recording {

class RecordListModel;

// The recording file: opened for appending (created when missing) and kept
// open while recording. Every line is handed to the system and forced to
// the disk as it is written, so a crash or a power cut loses at most the
// line being written.
class RecordingFile
{
public:
    RecordingFile() = default;
    RecordingFile(const RecordingFile &) = delete;
    RecordingFile &operator=(const RecordingFile &) = delete;

    // False when the file cannot be opened; errorText() says why.
    bool open(const QString &fileName);
    bool isOpen() const { return file_.isOpen(); }
    QString fileName() const { return file_.fileName(); }

    // Writes the whole line and flushes it to the disk. False when any of it
    // could not be written (disk full, file gone); errorText() says why.
    bool write(const QByteArray &line);

    void close();
    QString errorText() const { return errorText_; }

private:
    bool syncToDisk();

    QFile file_;
    QString errorText_;
};

// SAVE of a record list: writes every record of `list` as a list line into
// `fileName`, replacing the file. The old file stays untouched unless the
// whole list was written. False with the reason in `errorText` on failure.
bool writeListFile(const QString &fileName, const RecordListModel &list, QString *errorText);

} // namespace recording
