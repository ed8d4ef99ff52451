#pragma once

#include "platform/printer.h"
#include "support/recordingpage.h"

#include <QPainter>
#include <QRectF>

#include <functional>
#include <memory>

namespace testsupport {

// A print job that paints into memory: each page becomes an image of a
// fixed size and resolution (A4 at 100 dots per inch by default), and every
// text drawn is recorded with its page and position. It can be told to
// refuse begin(), as a cancelled print dialog or a broken printer would.
class RecordingPrinter : public platform::Printer
{
public:
    struct Setup
    {
        int dotsPerInch = 100;
        QSize pagePixels{827, 1169}; // A4 at 100 dpi
    };

    RecordingPrinter();
    explicit RecordingPrinter(Setup setup);
    ~RecordingPrinter() override;

    QPainter *begin(const QString &documentName) override;
    QRectF pageRect() const override;
    int resolution() const override { return setup_.dotsPerInch; }
    bool newPage() override;
    bool end() override;
    void abort() override;
    QString errorText() const override { return errorText_; }

    // --- script ---
    // begin() returns nullptr with this errorText(); an empty reason
    // stands for the user cancelling the print dialog.
    void refuseBegin(const QString &reason = {});
    // newPage() and end() report failure from now on.
    void failFromNowOn() { failing_ = true; }
    // Runs inside begin(), as the events that run while the print dialog
    // is open.
    void whileChoosing(std::function<void()> events) { whileChoosing_ = std::move(events); }

    // --- record ---
    QString documentName() const { return documentName_; }
    // Sent whole (end() succeeded) / stopped without being sent.
    bool ended() const { return ended_; }
    bool aborted() const { return aborted_; }
    // Pages painted so far (the current one included); none before begin().
    QList<QImage> pages() const;
    qsizetype pageCount() const;
    const QList<DrawnText> &texts() const;
    // Texts of one page in drawing order.
    QStringList pageTexts(int page) const;
    // Every text of the document in drawing order.
    QStringList allTexts() const;

private:
    Setup setup_;
    std::unique_ptr<RecordingPage> device_;
    QPainter painter_;
    bool refuse_ = false;
    bool failing_ = false;
    bool ended_ = false;
    bool aborted_ = false;
    QString refuseReason_;
    QString errorText_;
    QString documentName_;
    std::function<void()> whileChoosing_;
};

} // namespace testsupport
