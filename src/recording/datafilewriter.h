#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace recording {

class RecordListModel;

// The recording file: opened for appending (created when missing) and kept
// open while recording. Every line goes to the system in one write and is
// forced to the disk, so a crash or a power cut loses at most the line being
// written. The file never keeps a line cut short by this program: a failed
// write takes back what it left, and a file that already ends inside a line
// (a crash or a full disk earlier) is cut back to its last line end first.
class RecordingFile
{
public:
    // A broken last line is at most this long; a longer tail without a line
    // end is not a recorded line, and such a file is not recorded into.
    static constexpr qint64 longestBrokenLine = 256;

    RecordingFile() = default;
    RecordingFile(const RecordingFile &) = delete;
    RecordingFile &operator=(const RecordingFile &) = delete;

    // False when the file cannot be opened or does not end with a whole
    // line that could be mended; errorText() says why.
    bool open(const QString &fileName);
    bool isOpen() const { return file_.isOpen(); }
    QString fileName() const { return file_.fileName(); }
    // Bytes of a broken last line that open() removed (0: none).
    qint64 cutAtOpen() const { return cutAtOpen_; }

    // Writes the whole line and flushes it to the disk. False when it could
    // not be written whole (disk full, file gone); errorText() says why, and
    // what part of it did reach the file is cut off again.
    bool write(const QByteArray &line);
    // After a failed write: the part of the line could not be cut off, so
    // the file ends inside a line (the next open() mends it).
    bool endsInsideALine() const { return endsInsideALine_; }

    void close();
    QString errorText() const { return errorText_; }

private:
    bool cutBrokenLastLine();
    bool syncToDisk();
    void takeBackPartialLine();

    QFile file_;
    qint64 wholeEnd_ = 0; // where the last whole line ends
    qint64 cutAtOpen_ = 0;
    bool endsInsideALine_ = false;
    QString errorText_;
};

// SAVE of a record list: the bytes of the file, every record as a list line.
// Taken before the file is chosen, it is what the user saw.
QByteArray listFileBytes(const RecordListModel &list);

// Writes `bytes` as the whole new content of `fileName`, replacing the file.
// The old file stays untouched unless everything was written. False with the
// reason in `errorText` on failure.
bool replaceFile(const QString &fileName, const QByteArray &bytes, QString *errorText);

} // namespace recording
