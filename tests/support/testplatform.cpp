#include "support/testplatform.h"

namespace testsupport {

namespace {

// Hands the program a print job while the test keeps the real one.
class PrinterHandle : public platform::Printer
{
public:
    explicit PrinterHandle(RecordingPrinter &job) : job_(job) {}
    ~PrinterHandle() override { job_.abort(); } // a job dropped before its end is not sent
    QPainter *begin(const QString &documentName) override { return job_.begin(documentName); }
    QRectF pageRect() const override { return job_.pageRect(); }
    int resolution() const override { return job_.resolution(); }
    bool newPage() override { return job_.newPage(); }
    bool end() override { return job_.end(); }
    void abort() override { job_.abort(); }
    QString errorText() const override { return job_.errorText(); }

private:
    RecordingPrinter &job_;
};

} // namespace

platform::Platform TestPlatform::platform()
{
    platform::Platform p;
    p.port = &port;
    p.clock = &clock;
    p.pump = &pump;
    p.dialogs = &dialogs;
    p.makePrinter = [this]() -> std::unique_ptr<platform::Printer> {
        jobs_.push_back(std::make_unique<RecordingPrinter>());
        if (refusal_)
            jobs_.back()->refuseBegin(*std::exchange(refusal_, std::nullopt));
        return std::make_unique<PrinterHandle>(*jobs_.back());
    };
    p.timerMode = platform::Timer::Mode::Manual;
    return p;
}

} // namespace testsupport
