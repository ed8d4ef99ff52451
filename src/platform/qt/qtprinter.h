#pragma once

#include "platform/printer.h"

#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QRectF>
#include <QWidget>

#include <memory>

namespace platform {

// A print job on a real printer. By default begin() shows the print
// dialog (which also offers printing to a PDF file); toPdf() makes a job
// that writes straight to a PDF file without asking, for headless use.
//
// A PDF is written under a temporary name beside the chosen file and takes
// the chosen name only when the job ends, so an aborted or failed job
// leaves no file and never harms an existing one.
class QtPrinter : public Printer
{
public:
    explicit QtPrinter(QWidget *dialogParent = nullptr);
    ~QtPrinter() override;

    QtPrinter(const QtPrinter &) = delete;
    QtPrinter &operator=(const QtPrinter &) = delete;

    static std::unique_ptr<QtPrinter> toPdf(const QString &fileName);

    QPainter *begin(const QString &documentName) override;
    QRectF pageRect() const override;
    int resolution() const override;
    bool newPage() override;
    bool end() override;
    void abort() override;
    QString errorText() const override { return errorText_; }

private:
    bool chooseWithDialog();
    bool printPdfUnderTemporaryName();
    void dropTemporaryPdf();
    QString targetName() const;

    QPrinter printer_{QPrinter::HighResolution};
    QPainter painter_;
    QPointer<QWidget> dialogParent_;
    QString pdfFile_;      // set: print there without a dialog
    QString pdfTarget_;    // the PDF file the job is for
    QString pdfTemporary_; // where it is written until the job ends
    QString errorText_;
};

} // namespace platform
