#pragma once

#include "platform/printer.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <functional>
#include <memory>
#include <optional>

namespace testsupport {

// One piece of text drawn on a page (0-based), its baseline start in page pixels.
struct DrawnText { int page = 0; QString text; QPointF position; QFont font; };

class RecordingPage;

// A print job painting each page into an image, every text recorded; it can
// refuse begin(), as a cancelled print dialog or a broken printer would.
class RecordingPrinter : public platform::Printer
{
public:
    struct Setup { int dotsPerInch = 100; QSize pagePixels{827, 1169}; }; // A4

    RecordingPrinter() : RecordingPrinter(Setup{}) {}
    explicit RecordingPrinter(Setup setup);
    ~RecordingPrinter() override;

    QPainter *begin(const QString &documentName) override;
    QRectF pageRect() const override { return {QPointF(0, 0), QSizeF(setup_.pagePixels)}; }
    int resolution() const override { return setup_.dotsPerInch; }
    bool newPage() override;
    bool end() override { return painter_.isActive() && painter_.end() && (ended_ = !failing_); }
    void abort() override { aborted_ = (painter_.isActive() && painter_.end()) || aborted_; }
    QString errorText() const override { return errorText_; }

    // begin() fails with this errorText(); an empty one is the user cancelling.
    void refuseBegin(const QString &reason = {}) { refusal_ = reason; }
    void failFromNowOn() { failing_ = true; } // newPage() and end() fail
    // Runs inside begin(), as the events while the print dialog is open.
    void whileChoosing(std::function<void()> events) { whileChoosing_ = std::move(events); }

    QString documentName() const { return documentName_; }
    bool ended() const { return ended_; } // sent whole
    bool aborted() const { return aborted_; }
    QList<QImage> pages() const; // painted so far, the current one included
    qsizetype pageCount() const { return pages().size(); }
    const QList<DrawnText> &texts() const;
    QStringList pageTexts(int page) const; // in drawing order; -1: every page
    QStringList allTexts() const { return pageTexts(-1); }

private:
    Setup setup_;
    std::unique_ptr<RecordingPage> device_;
    QPainter painter_;
    std::optional<QString> refusal_;
    bool failing_ = false, ended_ = false, aborted_ = false;
    QString errorText_, documentName_;
    std::function<void()> whileChoosing_;
};

} // namespace testsupport
