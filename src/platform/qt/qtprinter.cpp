#include "platform/qt/qtprinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QTemporaryFile>

#include <cstdio>

namespace platform {

namespace {

// Gives `temporary` the name `target`, replacing a file of that name.
bool moveOver(const QString &temporary, const QString &target)
{
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    return (!QFile::exists(target) || QFile::remove(target)) && QFile::rename(temporary, target);
}

} // namespace

QtPrinter::QtPrinter(QWidget *dialogParent) : dialogParent_(dialogParent) {}

QtPrinter::~QtPrinter()
{
    if (painter_.isActive())
        abort();
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
    if (!pdfTarget_.isEmpty())
        return pdfTarget_;
    return printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName()
                                                          : printer_.printerName();
}

bool QtPrinter::printPdfUnderTemporaryName()
{
    pdfTarget_ = printer_.outputFileName();
    const QFileInfo target(pdfTarget_);
    QTemporaryFile temporary(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    temporary.setAutoRemove(false);
    if (!temporary.open())
        return false;
    pdfTemporary_ = temporary.fileName();
    temporary.close();
    printer_.setOutputFileName(pdfTemporary_);
    return true;
}

void QtPrinter::dropTemporaryPdf()
{
    if (pdfTemporary_.isEmpty())
        return;
    QFile::remove(pdfTemporary_);
    pdfTemporary_.clear();
    printer_.setOutputFileName(pdfTarget_);
}

QPainter *QtPrinter::begin(const QString &documentName)
{
    errorText_.clear();
    if (painter_.isActive()) {
        errorText_ = QStringLiteral("A document is already being printed.");
        return nullptr;
    }
    pdfTarget_.clear();
    printer_.setDocName(documentName);
    if (!pdfFile_.isEmpty()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(pdfFile_);
    } else if (!chooseWithDialog()) {
        return nullptr; // cancelled: no error to report
    }
    const bool toPdf = printer_.outputFormat() == QPrinter::PdfFormat;
    if ((toPdf && !printPdfUnderTemporaryName()) || !painter_.begin(&printer_)) {
        dropTemporaryPdf();
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
    const bool ended = painter_.end();
    if (ended && (pdfTemporary_.isEmpty() || moveOver(pdfTemporary_, pdfTarget_))) {
        pdfTemporary_.clear();
        return true;
    }
    dropTemporaryPdf();
    errorText_ = QStringLiteral("Printing to %1 could not be completed.").arg(targetName());
    return false;
}

void QtPrinter::abort()
{
    if (!painter_.isActive())
        return;
    // A printer whose engine cannot withdraw the job (Qt's PDF and CUPS
    // engines refuse) still gets its painter ended; a PDF is then dropped.
    printer_.abort();
    painter_.end();
    dropTemporaryPdf();
}

} // namespace platform
