#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <memory>

namespace recording {

// The bytes rows are cut from: a data file opened for the list, or text
// the list was handed.
class RowText
{
public:
    virtual ~RowText() = default;
    // The bytes still there. A mapped file that another program has cut
    // short since gives only what remains: nothing past a file's end is
    // ever read (that would stop the program).
    virtual QByteArrayView bytes() const = 0;
};

// Text held in memory.
class HeldRowText : public RowText
{
public:
    explicit HeldRowText(QByteArray text = {}) : text_(std::move(text)) {}
    QByteArrayView bytes() const override { return text_; }
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
    QByteArrayView bytes() const override;

private:
    MappedRowText(std::unique_ptr<QFile> file, uchar *data, qint64 size);

    std::unique_ptr<QFile> file_;
    uchar *data_;
    qint64 mapped_;
    mutable qint64 valid_; // only ever shrinks
};

} // namespace recording
