#include "platform/qt/qtprinter.h"

#include <QPrintDialog>

namespace platform {

QtPrinter::QtPrinter(QWidget *dialogParent) : dialogParent_(dialogParent) {}

QtPrinter::~QtPrinter()
{
    if (painter_.isActive())
        painter_.end();
}

std::unique_ptr<QtPrinter> QtPrinter::toPdf(const QString &fileName)
{
    auto job = std::make_unique<QtPrinter>();
    job->pdfFile_ = fileName;
    return job;
}

bool QtPrinter::chooseWithDialog()
{
    QPrintDialog dialog(&printer_, dialogParent_);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}

QString QtPrinter::targetName() const
{
    return printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName()
                                                          : printer_.printerName();
}

QPainter *QtPrinter::begin(const QString &documentName)
{
    errorText_.clear();
    if (painter_.isActive()) {
        errorText_ = QStringLiteral("A document is already being printed.");
        return nullptr;
    }
    printer_.setDocName(documentName);
    if (!pdfFile_.isEmpty()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(pdfFile_);
    } else if (!chooseWithDialog()) {
        return nullptr; // cancelled: no error to report
    }
    if (!painter_.begin(&printer_)) {
        errorText_ = QStringLiteral("Cannot print to %1.").arg(targetName());
        return nullptr;
    }
    return &painter_;
}

QRectF QtPrinter::pageRect() const
{
    // The painter's origin is the top left corner of the printable area.
    const QRectF printable = printer_.pageRect(QPrinter::DevicePixel);
    return QRectF(QPointF(0, 0), printable.size());
}

int QtPrinter::resolution() const
{
    return printer_.resolution();
}

bool QtPrinter::newPage()
{
    return painter_.isActive() && printer_.newPage();
}

bool QtPrinter::end()
{
    if (!painter_.isActive())
        return false;
    if (!painter_.end()) {
        errorText_ = QStringLiteral("Printing to %1 could not be completed.").arg(targetName());
        return false;
    }
    return true;
}

} // namespace platform
