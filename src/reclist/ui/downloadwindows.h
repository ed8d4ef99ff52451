#pragma once

#include "logger/download.h"

namespace live {
class PANEL;
}
#include <QByteArray>

#include <vector>

namespace logger {
class LOGGER;
}

namespace reclist {

class RecordListController;

// The windows the download of a set works on: the main window's MEMORY
// button, the logger window's captions and labels, and the record list.
//
// Decoded rows are handed to the record list together, at the first call
// after them (the end of the decoding), not one by one: a list grows by
// one notice to its grid instead of 52,000.
class DownloadWindows : public logger::DownloadWindows
{
public:
    DownloadWindows(live::PANEL &panel, logger::LOGGER &logger, RecordListController &lists);

    // What the logger window asks for: the set in Text1 (`setNumber`), the
    // record count of Label5, whether it is the last set (Text1 the same
    // text as Label2), and the unit and range texts LBLFUN and LBLRAN hold.
    logger::DownloadRequest request(int setNumber) const;

    void setMemoryButtonEnabled(bool enabled) override;
    void closeRecordList() override;
    void setStatusCaption(const QString &text) override;
    void setProgressCaption(const QString &text) override;
    void createRecordList() override;
    void decodingRecord(qint64 n) override;
    void appendRecordRow(const QString &row) override;
    void setFunctionRangeTexts(const QString &function, const QString &range) override;
    void disableShowData() override;
    void showRecordList(const QString &summary, qint64 currentRow) override;

private:
    void handOverRows();

    live::PANEL &panel_;
    logger::LOGGER &logger_;
    RecordListController &lists_;
    // Decoded, not yet in the list: the rows' texts end to end, as the list
    // keeps them, and where each begins.
    QByteArray rows_;
    std::vector<qsizetype> rowStarts_;
};

} // namespace reclist
