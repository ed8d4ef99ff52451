#include "recording/listprintout.h"

#include "platform/clock.h"
#include "platform/printer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointer>

#include <array>

namespace recording {

namespace {

constexpr std::array<int, RecordListModel::ColumnCount> columnWidths{7, 12, 10, 9, 11, 12, 5, 5};
constexpr int printPointSize = 10;

QFont printoutFont()
{
    QFont font(QStringLiteral("Liberation Mono"), printPointSize);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

// Writes lines down the pages of a print job.
class PageWriter
{
public:
    PageWriter(QPainter &painter, platform::Printer &printer)
        : painter_(painter)
        , printer_(printer)
        , page_(printer.pageRect())
    {
        painter_.setFont(printoutFont());
        const QFontMetricsF metrics(painter_.font(), painter_.device());
        ascent_ = metrics.ascent();
        lineSpacing_ = metrics.lineSpacing();
        y_ = page_.top();
    }

    bool write(const QString &line)
    {
        if (y_ > page_.top() && y_ + lineSpacing_ > page_.bottom()) {
            if (!printer_.newPage())
                return false;
            y_ = page_.top();
        }
        painter_.drawText(QPointF(page_.left(), y_ + ascent_), line);
        y_ += lineSpacing_;
        return true;
    }

private:
    QPainter &painter_;
    platform::Printer &printer_;
    QRectF page_;
    qreal ascent_ = 0;
    qreal lineSpacing_ = 0;
    qreal y_ = 0;
};

PrintOutcome failed(platform::Printer &printer, int lines)
{
    QString reason = printer.errorText();
    if (reason.isEmpty())
        reason = QStringLiteral("The printer stopped.");
    return {PrintOutcome::Status::Failed, reason, lines};
}

// Drops a job that failed part way, keeping the reason it gave: a cut
// printout is not sent.
PrintOutcome abandon(platform::Printer &printer, int lines)
{
    PrintOutcome outcome = failed(printer, lines);
    printer.abort();
    return outcome;
}

PrintOutcome stopped(platform::Printer &printer, int lines)
{
    printer.abort();
    return {PrintOutcome::Status::Interrupted, {}, lines};
}

} // namespace

QStringList printoutCaptionLines()
{
    return {QStringLiteral("         Date        Time     Value   Unit       Range      A/D  Bat"),
            QStringLiteral("       --------    --------  -------- ---------  --------   ---  ---")};
}

QString printoutLine(const RecordListModel::Cells &cells)
{
    QString line;
    for (std::size_t column = 0; column < cells.size(); ++column)
        line += QString(cells[column]).leftJustified(columnWidths[column], QLatin1Char(' '));
    return line;
}

PrintOutcome printRecordList(const RecordListModel &list, platform::Printer &printer,
                             platform::EventPump &pump, const QString &documentName,
                             const std::function<void()> &begun)
{
    // The rows the user asked for are the first `records`: they stay as they
    // were until the list is cleared (closed, or filled anew); rows added
    // meanwhile are not printed.
    QPointer<const RecordListModel> guard(&list);
    const quint64 generation = list.generation();
    const int records = list.recordCount();
    const auto asAsked = [&] {
        return !pump.ending() && guard && guard->generation() == generation
               && guard->recordCount() >= records;
    };

    QPainter *painter = printer.begin(documentName);
    if (!painter) {
        if (printer.errorText().isEmpty())
            return {PrintOutcome::Status::Cancelled, {}, 0};
        return failed(printer, 0);
    }
    if (!asAsked()) // changed while the print dialog was open
        return stopped(printer, 0);
    if (begun)
        begun();
    PageWriter writer(*painter, printer);
    for (const QString &caption : printoutCaptionLines())
        if (!writer.write(caption))
            return abandon(printer, 0);

    int printed = 0;
    for (int row = 1; row <= records; ++row) {
        if (!writer.write(printoutLine(list.rowCells(row))))
            return abandon(printer, printed);
        ++printed;
        pump.runFor(0);
        if (!asAsked())
            return stopped(printer, printed);
    }
    if (!printer.end())
        return failed(printer, printed);
    return {PrintOutcome::Status::Printed, {}, printed};
}

} // namespace recording
