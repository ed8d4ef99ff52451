#include "recording/rowtext.h"

#include <algorithm>

#include <sys/stat.h>

namespace recording {

std::unique_ptr<MappedRowText> MappedRowText::map(std::unique_ptr<QFile> file, qint64 size,
                                                  QString *error)
{
    if (size <= 0)
        return std::unique_ptr<MappedRowText>(new MappedRowText(std::move(file), nullptr, 0));
    uchar *data = file->map(0, size);
    if (!data) {
        if (error)
            *error = file->errorString();
        return nullptr;
    }
    return std::unique_ptr<MappedRowText>(new MappedRowText(std::move(file), data, size));
}

MappedRowText::MappedRowText(std::unique_ptr<QFile> file, uchar *data, qint64 size)
    : file_(std::move(file))
    , data_(data)
    , valid_(size)
{}

MappedRowText::~MappedRowText()
{
    if (data_)
        file_->unmap(data_);
}

QByteArrayView MappedRowText::bytes(SizeCheck check) const
{
    if (!data_)
        return {};
    if (check != SizeCheck::Last) {
        const auto now = std::chrono::steady_clock::now();
        if (check == SizeCheck::Now || now - checked_ >= std::chrono::milliseconds(1)) {
            checked_ = now;
            valid_ = std::clamp<qint64>(systemSize(), 0, valid_);
        }
    }
    return QByteArrayView(reinterpret_cast<const char *>(data_), valid_);
}

qint64 MappedRowText::systemSize() const
{
    // The size the system has for the open file now: a page past a new,
    // shorter end would fault. What was cut off stays away even if the file
    // grows again (the bytes there are no longer the rows that were read).
    struct stat status {};
    return fstat(file_->handle(), &status) == 0 ? qint64(status.st_size) : 0;
}

} // namespace recording
