#pragma once

// The main window with the logger feature and the downloaded-record views
// attached, over the scripted platform and the scripted meter of the
// logger window tests (three sets: 5, 20 and 10 records; set 3 starts
// 00-02-28 23:59:55), with the set list read.

#include "graphs/ui/recgraph.h"
#include "logger/ui/loggerwindowrig.h"
#include "reclist/ui/attachrecordlist.h"
#include "reclist/ui/rangeform.h"
#include "reclist/ui/reclistwindow.h"
#include "reclist/ui/recordlistcontroller.h"
#include "reclist/ui/recordlistfeature.h"
#include "support/testplatform.h"

#include <QLabel>
#include <QLineEdit>

namespace reclisttest {

using loggertest::bytesOf;

// A "K" reply: the header (start as BCD bytes, interval) and the records.
inline QByteArray setReply(std::initializer_list<int> bcdStart, int interval,
                           const QByteArrayList &records)
{
    QByteArray reply = bytesOf(bcdStart);
    reply += bytesOf({0, 0, interval >> 8, interval & 0xFF, 0, 0});
    for (const QByteArray &record : records)
        reply += record;
    return reply;
}

// `count` DC millivolt records, record i showing " nnn.00" with nnn =
// i * 100 mod 1000, from 00-02-28 23:59:55 every 5 s.
inline QByteArray millivoltReply(int count)
{
    QByteArrayList records;
    for (int i = 1; i <= count; ++i) {
        const int value = i * 100 % 1000;
        records << bytesOf({0x80, (value / 100) % 10 * 16 + (value / 10) % 10, 0, 0, 0x08});
    }
    return setReply({0x00, 0x02, 0x28, 0x23, 0x59, 0x55}, 5, records);
}

struct RecListRig : loggertest::LoggerWindowRig
{
    std::unique_ptr<QObject> records;

    // `directory`: the meter's set list instead of the standard one.
    explicit RecListRig(const QByteArray &directory = {})
    {
        if (!directory.isEmpty()) {
            const int sets = int(directory.size() / 12);
            meter.always(QStringLiteral("R135"), bytesOf({sets}));
            meter.always(QStringLiteral("I"), directory, 0.1);
        }
        records = reclist::attachRecordList(*panel, loggerFeature());
        openLogger();
        window().SSCommand1->click(); // the set list
        clearRecords();
    }

    reclist::RecordListFeature &feature()
    {
        return static_cast<reclist::RecordListFeature &>(*records);
    }
    reclist::RecordListController &controller() { return feature().controller(); }
    reclist::REC_LIST &list() { return controller().recordList(); }
    graphs::REC_GRAPH &graph() { return controller().recGraph(); }
    reclist::RANGEFORM &range() { return controller().rangeForm(); }

    // Chooses `set` in Text1 and presses SHOW DATA; the meter answers "K"
    // with `reply` after 0.1 s.
    void showData(int set, const QByteArray &reply)
    {
        meter.once(QStringLiteral("K"), reply, 0.1);
        window().Text1->setText(QString::number(set));
        window().SSCommand3->click();
    }
};

} // namespace reclisttest
