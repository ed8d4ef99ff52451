#include "reclist/ui/downloadwindows.h"

#include "link/ui/panel.h"
#include "logger/ui/logger.h"
#include "reclist/ui/reclistwindow.h"
#include "reclist/ui/recordlistcontroller.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace reclist {

DownloadWindows::DownloadWindows(live::PANEL &panel, logger::LOGGER &logger,
                                 RecordListController &lists)
    : panel_(panel)
    , logger_(logger)
    , lists_(lists)
{}

logger::DownloadRequest DownloadWindows::request(int setNumber) const
{
    logger::DownloadRequest request;
    request.setNumber = setNumber;
    request.expectedRecords = logger::recordCountOf(logger_.Label5->text());
    request.lastSet = logger_.Text1->text() == logger_.Label2->text();
    request.functionText = logger_.LBLFUN->text();
    request.rangeText = logger_.LBLRAN->text();
    return request;
}

void DownloadWindows::setMemoryButtonEnabled(bool enabled)
{
    handOverRows();
    panel_.CMDMEMORY->setEnabled(enabled);
}

void DownloadWindows::closeRecordList()
{
    handOverRows();
    lists_.closeList();
}

void DownloadWindows::setStatusCaption(const QString &text)
{
    handOverRows();
    logger_.Label1->setText(text);
}

void DownloadWindows::setProgressCaption(const QString &text)
{
    handOverRows();
    logger_.Label8->setText(text);
}

void DownloadWindows::createRecordList()
{
    handOverRows();
    lists_.createList();
}

void DownloadWindows::decodingRecord(qint64 n)
{
    lists_.recordList().SSPANEL1->setText(QString::number(n));
}

void DownloadWindows::appendRecordRow(const QString &row)
{
    // Written as Latin-1 straight into the shared buffer (as toLatin1
    // would, '?' for what it cannot hold), no string of its own per row.
    const qsizetype at = rows_.size();
    rowStarts_.push_back(at);
    rows_.resize(at + row.size());
    char *out = rows_.data() + at;
    for (const QChar c : row)
        *out++ = c.unicode() < 256 ? char(c.unicode()) : '?';
}

void DownloadWindows::handOverRows()
{
    if (rowStarts_.empty())
        return;
    lists_.recordList().list().appendJoinedRows(rows_, rowStarts_);
    rows_.clear();
    rowStarts_.clear();
}

void DownloadWindows::setFunctionRangeTexts(const QString &function, const QString &range)
{
    handOverRows();
    logger_.LBLFUN->setText(function);
    logger_.LBLRAN->setText(range);
}

void DownloadWindows::disableShowData()
{
    handOverRows();
    logger_.SSCommand3->setEnabled(false);
}

void DownloadWindows::showRecordList(const QString &summary, qint64 currentRow)
{
    handOverRows();
    REC_LIST &list = lists_.recordList();
    list.SSPANEL1->setText(summary);
    list.setCurrentRow(currentRow);
    lists_.showList();
}

} // namespace reclist
