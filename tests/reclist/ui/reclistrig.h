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

#include <QLineEdit>

namespace reclisttest {

// A "K" reply of `count` DC millivolt records, record i showing " nnn.00"
// with nnn = i * 100 mod 1000, from 00-02-28 23:59:55 every 5 s.
inline QByteArray millivoltReply(int count)
{
    QByteArray reply = loggertest::bytesOf({0x00, 0x02, 0x28, 0x23, 0x59, 0x55, 0, 0, 0, 5, 0, 0});
    for (int i = 1; i <= count; ++i)
        reply += loggertest::bytesOf({0x80, i % 10 * 16, 0, 0, 0x08});
    return reply;
}

struct RecListRig : loggertest::LoggerWindowRig
{
    std::unique_ptr<QObject> records;

    RecListRig()
    {
        records = reclist::attachRecordList(*panel, loggerFeature());
        openLogger();
        window().SSCommand1->click(); // the set list
        clearRecords();
    }
    reclist::RecordListController &controller() { return static_cast<reclist::RecordListFeature &>(*records).controller(); }
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
