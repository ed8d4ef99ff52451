#include "recording/ui/recordgrid.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

namespace recording {

namespace {
constexpr int cellMargin = 8; // room the view keeps around a cell's text
}

WidthSamples memoryListWidthSamples()
{
    return {QStringLiteral("86400"),     QStringLiteral("00/99/00"), QStringLiteral("23:21:20"),
            QStringLiteral("-371.84"),   QStringLiteral("Frequency"), QStringLiteral(" 50M Ohm "),
            QStringLiteral("A/D "),      QStringLiteral(" LOW ")};
}

void setUpRecordGrid(QTableView &grid, const WidthSamples &samples)
{
    const QFontMetrics metrics(grid.font());
    QHeaderView *rows = grid.verticalHeader();
    rows->setVisible(false);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(metrics.height() + 4);
    QHeaderView *columns = grid.horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setHighlightSections(false);
    for (int column = 0; column < RecordListModel::ColumnCount; ++column)
        grid.setColumnWidth(column, metrics.horizontalAdvance(samples[std::size_t(column)]) + cellMargin);
    grid.setWordWrap(false);
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
}

} // namespace recording
