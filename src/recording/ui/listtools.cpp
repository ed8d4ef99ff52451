#include "recording/ui/listtools.h"

#include "platform/dialogs.h"
#include "recording/listexport.h"
#include "recording/memoryselection.h"
#include "recording/recordlistmodel.h"
#include "recording/ui/rangewindow.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

namespace recording {

ListTools::ListTools(const Parts &parts, QObject *parent) : QObject(parent), parts_(parts)
{
    MNUEXPORT = parts.window.menuBar()->addAction(QStringLiteral("EXPORT"));
    MNUEXPORT->setObjectName(QStringLiteral("MNUEXPORT"));
    MNUSTATISTICS = parts.window.menuBar()->addAction(QStringLiteral("STATISTICS"));
    MNUSTATISTICS->setObjectName(QStringLiteral("MNUSTATISTICS"));
    connect(MNUEXPORT, &QAction::triggered, this, &ListTools::onExport);
    connect(MNUSTATISTICS, &QAction::triggered, this, &ListTools::onStatistics);
}

RowSpan ListTools::span() const
{
    const RangeWindow *range = parts_.openRange ? parts_.openRange() : nullptr;
    if (!range)
        return {};
    const RangeRequest request = rangeRequest(range->boxes());
    // Boxes that name no span (a typo, first after last) leave every row.
    if (request.first < 1 || request.last < request.first)
        return {};
    return {qint64(request.first), qint64(request.last)};
}

bool ListTools::saysEmpty(const QString &title)
{
    if (parts_.list.recordCount() > 0)
        return false;
    parts_.dialogs.message(QStringLiteral("The list is empty: there is nothing to %1.").arg(title.toLower()),
                           title, platform::MessageIcon::Information);
    return true;
}

void ListTools::onExport()
{
    const QString title = QStringLiteral("EXPORT");
    if (saysEmpty(title))
        return;
    const platform::Dialogs::FileChoice choice = parts_.dialogs.saveFile(
        lastName_, QStringLiteral("CSV (*.csv);;JSON lines (*.jsonl);;All files (*)"));
    if (choice.cancelled || choice.fullName.isEmpty())
        return;
    lastName_ = choice.fullName;
    const ExportResult result = exportList(parts_.list, span(), choice.fullName);
    parts_.dialogs.message(exportMessage(result, choice.fullName), title,
                           result.ok ? platform::MessageIcon::Information : platform::MessageIcon::Critical);
}

void ListTools::onStatistics()
{
    const QString title = QStringLiteral("STATISTICS");
    if (saysEmpty(title))
        return;
    const RowSpan rows = span();
    QStringList lines = statisticsLines(listStatistics(parts_.list, rows));
    if (rows.last >= rows.first)
        lines.prepend(QStringLiteral("Records %1 to %2").arg(rows.first).arg(rows.last));
    parts_.dialogs.message(lines.join(QLatin1Char('\n')), title, platform::MessageIcon::Information);
}

} // namespace recording
