#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <chrono>
#include <memory>

namespace recording {

// The bytes rows are cut from: a data file opened for the list, or text
// the list was handed.
class RowText
{
public:
    // When a mapped file's size is asked of the system again: asking costs a
    // system call, so a batch of reads (a paint, a graph's reduction) asks
    // once at its start and reads the rest with the size it got then.
    enum class SizeCheck {
        Now,    // ask now
        Recent, // ask unless asked within the last millisecond
        Last,   // the size last asked, no call
    };

    virtual ~RowText() = default;
    // The bytes still there. A mapped file that another program has cut
    // short gives only what remained when its size was last asked: nothing
    // past that end is ever read (a page past a file's end stops the
    // program).
    virtual QByteArrayView bytes(SizeCheck check = SizeCheck::Now) const = 0;
};

// Text held in memory.
class HeldRowText : public RowText
{
public:
    explicit HeldRowText(QByteArray text = {}) : text_(std::move(text)) {}
    QByteArrayView bytes(SizeCheck = SizeCheck::Now) const override { return text_; }
    QByteArray &text() { return text_; }

private:
    QByteArray text_;
};

// A file mapped into memory: nothing is read until a row needs it, and the
// system keeps only the pages in use.
class MappedRowText : public RowText
{
public:
    // The file open for reading, mapped from 0 to `size`; null with `error`
    // set when the system refuses the map.
    static std::unique_ptr<MappedRowText> map(std::unique_ptr<QFile> file, qint64 size,
                                              QString *error);
    ~MappedRowText() override;
    QByteArrayView bytes(SizeCheck check = SizeCheck::Now) const override;

private:
    MappedRowText(std::unique_ptr<QFile> file, uchar *data, qint64 size);
    qint64 systemSize() const;

    std::unique_ptr<QFile> file_;
    uchar *data_;
    mutable qint64 valid_; // only ever shrinks
    mutable std::chrono::steady_clock::time_point checked_;
};

} // namespace recording
