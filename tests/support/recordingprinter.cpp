#include "support/recordingprinter.h"

namespace testsupport {

RecordingPrinter::RecordingPrinter() : RecordingPrinter(Setup{}) {}

RecordingPrinter::RecordingPrinter(Setup setup) : setup_(setup) {}

RecordingPrinter::~RecordingPrinter()
{
    if (painter_.isActive())
        painter_.end();
}

void RecordingPrinter::refuseBegin(const QString &reason)
{
    refuse_ = true;
    refuseReason_ = reason;
}

QPainter *RecordingPrinter::begin(const QString &documentName)
{
    documentName_ = documentName;
    if (whileChoosing_)
        whileChoosing_();
    if (refuse_) {
        errorText_ = refuseReason_;
        return nullptr;
    }
    if (painter_.isActive()) {
        errorText_ = QStringLiteral("A document is already being printed");
        return nullptr;
    }
    errorText_.clear();
    ended_ = false;
    aborted_ = false;
    device_ = std::make_unique<RecordingPage>(setup_.pagePixels, setup_.dotsPerInch);
    if (!painter_.begin(device_.get())) {
        errorText_ = QStringLiteral("Cannot paint on the recording page");
        return nullptr;
    }
    return &painter_;
}

QRectF RecordingPrinter::pageRect() const
{
    return QRectF(QPointF(0, 0), QSizeF(setup_.pagePixels));
}

bool RecordingPrinter::newPage()
{
    if (failing_ || !painter_.isActive())
        return false;
    device_->startNewPage();
    return true;
}

bool RecordingPrinter::end()
{
    if (!painter_.isActive())
        return false;
    painter_.end();
    ended_ = !failing_;
    return ended_;
}

void RecordingPrinter::abort()
{
    if (!painter_.isActive())
        return;
    painter_.end();
    aborted_ = true;
}

QList<QImage> RecordingPrinter::pages() const
{
    return device_ ? device_->pages() : QList<QImage>{};
}

qsizetype RecordingPrinter::pageCount() const
{
    return pages().size();
}

const QList<DrawnText> &RecordingPrinter::texts() const
{
    static const QList<DrawnText> none;
    return device_ ? device_->texts() : none;
}

QStringList RecordingPrinter::pageTexts(int page) const
{
    QStringList result;
    for (const auto &t : texts())
        if (t.page == page)
            result.append(t.text);
    return result;
}

QStringList RecordingPrinter::allTexts() const
{
    QStringList result;
    for (const auto &t : texts())
        result.append(t.text);
    return result;
}

} // namespace testsupport
