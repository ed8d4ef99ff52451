#pragma once

#include "common/sharedvalues.h"
#include "logger/commandbuffer.h"
#include "logger/exchange.h"

#include <QString>

namespace logger {

// What SHOW DATA fetches, as the logger window shows it.
struct DownloadRequest
{
    int setNumber = 0;          // Text1: 1..256
    qint64 expectedRecords = 0; // Label5 as a number
    bool lastSet = false;       // Text1 is the same text as Label2 (the number of sets)
    // The window's LBLFUN and LBLRAN: the texts a record with a code the
    // table lacks takes over.
    QString functionText;
    QString rangeText;
};

// The windows a download works on. The sequence calls them in the order
// described at SetDownload::run().
class DownloadWindows
{
public:
    virtual ~DownloadWindows() = default;

    virtual void setMemoryButtonEnabled(bool enabled) = 0; // the main window's MEMORY
    virtual void closeRecordList() = 0;                    // the list of a download before
    virtual void setStatusCaption(const QString &text) = 0;   // LOGGER's Label1
    virtual void setProgressCaption(const QString &text) = 0; // LOGGER's Label8
    // A fresh, empty record list, not shown, its grid hidden while it fills.
    virtual void createRecordList() = 0;
    // Record n is being decoded (the list's panel shows n).
    virtual void decodingRecord(qint64 n) = 0;
    virtual void appendRecordRow(const QString &row) = 0;
    // The unit and range texts of the last decoded record (LBLFUN, LBLRAN).
    virtual void setFunctionRangeTexts(const QString &function, const QString &range) = 0;
    virtual void disableShowData() = 0; // SHOW DATA, until another set is chosen
    // The list's panel shows `summary`, grid row `currentRow` becomes the
    // current one, the grid is shown again and the list window is shown.
    virtual void showRecordList(const QString &summary, qint64 currentRow) = 0;
};

// SHOW DATA: downloads every record of one set and fills the record list.
class SetDownload
{
public:
    struct Parts
    {
        Exchange &exchange;
        LoggerCommandBuffer &buffer; // the logger window's 7-byte buffer
        common::SharedValues &shared;
        DownloadWindows &windows;
    };

    enum class Result {
        Listed,    // the list is shown
        Nothing,   // no records to fetch: nothing was requested
        Failed,    // the set did not arrive whole: told, no list shown
        Busy,      // another exchange holds the port: nothing done
    };

    explicit SetDownload(const Parts &parts);

    // The whole download:
    //   1. MEMORY off; 2. the list of a download before closed;
    //   3. no records expected (or no valid set): on at 17;
    //   4. polling paused, "PLEASE WAIT....." in the status caption;
    //   5. attention; 6. "K" with the set number - 1 through the buffer;
    //   7. the reply collected until it holds the expected records, the
    //      progress caption showing records received + 1 and
    //      " RECORDS COMPLETED" after each read; bounded by the line's
    //      limits (accumulateLimits). On a failure: the message (a
    //      time-out names the records received), the input dropped, the
    //      status caption cleared, and on at 17 without a list;
    //   8. start and interval from the header;
    //   9. a fresh list; scaleMax = 0;
    //  10. with valueByteFlag 1 on the last set, the progress caption
    //      shows the records received - 1;
    //  11. each record decoded, stamped and appended as a row;
    //  12. status caption cleared, SHOW DATA off;
    //  13. " ", 0.01 s, polling on, " ", 0.01 s;
    //  14-16. the summary, current row count - 1, the list shown;
    //  17. " ", 0.01 s, polling on, " ", 0.01 s; MEMORY on; the progress
    //      caption cleared.
    // Nothing at all while another exchange holds the port.
    Result run(const DownloadRequest &request);

    // The notice of the last failure (empty text: none shown).
    const FailureNotice &lastFailure() const { return failure_; }

private:
    bool collect(const DownloadRequest &request, QByteArray &reply);
    void fillList(const DownloadRequest &request, const QByteArray &reply);
    void releaseTwice();
    void end();

    Parts parts_;
    FailureNotice failure_;
};

// The number of records a count label shows: its leading number, rounded,
// within 0..65535.
qint64 recordCountOf(const QString &label);

} // namespace logger
