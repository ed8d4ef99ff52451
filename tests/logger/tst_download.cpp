// SHOW DATA's download sequence over the scripted port and clock, with the
// windows stood in for by a recorder of what they are told.

#include "exchangerig.h"
#include "logger/download.h"
#include "logger/downloadreply.h"
#include "logger/messages.h"
#include "scriptedmeter.h"

#include <QTest>

using loggertest::bytesOf;
using loggertest::ExchangeRig;
using Result = logger::SetDownload::Result;

Q_DECLARE_METATYPE(logger::SetDownload::Result)

namespace {

// What the windows are told, in order: "memory on", "close list",
// "status PLEASE WAIT.....", "progress 4 RECORDS COMPLETED", "create",
// "texts V|50 V", "show data off", "show <summary>|<row>". Rows and the
// decoding panel are kept apart.
class WindowsRecorder : public logger::DownloadWindows
{
public:
    explicit WindowsRecorder(const platform::Timer &timer6) : timer6_(timer6) {}

    QStringList events;
    QStringList rows;
    QList<qint64> decoding;
    bool pollingWhenCreated = true;

    QStringList progress() const { return prefixed(QStringLiteral("progress ")); }

    void setMemoryButtonEnabled(bool enabled) override
    {
        events << (enabled ? QStringLiteral("memory on") : QStringLiteral("memory off"));
    }
    void closeRecordList() override { events << QStringLiteral("close list"); }
    void setStatusCaption(const QString &text) override { events << QStringLiteral("status ") + text; }
    void setProgressCaption(const QString &text) override
    {
        events << QStringLiteral("progress ") + text;
    }
    void createRecordList() override
    {
        pollingWhenCreated = timer6_.isEnabled();
        events << QStringLiteral("create");
    }
    void decodingRecord(qint64 n) override { decoding << n; }
    void appendRecordRow(const QString &row) override { rows << row; }
    void setFunctionRangeTexts(const QString &function, const QString &range) override
    {
        events << QStringLiteral("texts ") + function + QLatin1Char('|') + range;
    }
    void disableShowData() override { events << QStringLiteral("show data off"); }
    void showRecordList(const QString &summary, qint64 currentRow) override
    {
        events << QStringLiteral("show ") + summary + QLatin1Char('|') + QString::number(currentRow);
    }

private:
    QStringList prefixed(const QString &prefix) const
    {
        QStringList found;
        for (const QString &event : events)
            if (event.startsWith(prefix))
                found << event.mid(prefix.size());
        return found;
    }

    const platform::Timer &timer6_;
};

// A "K" reply: the header (start as BCD bytes, interval) and records.
QByteArray setReply(std::initializer_list<int> bcdStart, int interval, const QByteArrayList &records)
{
    QByteArray reply = bytesOf(bcdStart);
    reply += bytesOf({0, 0, interval >> 8, interval & 0xFF, 0, 0});
    for (const QByteArray &record : records)
        reply += record;
    return reply;
}

QByteArray millivolts(int digitsHigh, int status = 0x08)
{
    return bytesOf({0x80, digitsHigh, 0x00, 0x00, status});
}

// Three 500 mV records from 00-02-28 23:59:55, every 5 s.
QByteArray leapDayReply()
{
    return setReply({0x00, 0x02, 0x28, 0x23, 0x59, 0x55}, 5,
                    {millivolts(0x01), millivolts(0x02), millivolts(0x03)});
}

struct DownloadRig : ExchangeRig
{
    loggertest::ScriptedMeter meter{port, pump};
    common::SharedValues shared;
    logger::LoggerCommandBuffer buffer;
    WindowsRecorder windows{timer6};
    logger::SetDownload download{{exchange, buffer, shared, windows}};
    bool pollingWhenRequested = true;

    DownloadRig()
    {
        meter.watch([this](const QString &key) {
            if (key == QLatin1String("K"))
                pollingWhenRequested = timer6.isEnabled();
        });
    }

    Result run(int set, qint64 expected, bool lastSet = false)
    {
        logger::DownloadRequest request;
        request.setNumber = set;
        request.expectedRecords = expected;
        request.lastSet = lastSet;
        return download.run(request);
    }

    // The reply to "K" in pieces, each `times[i]` seconds after the request.
    void answerK(const QByteArrayList &pieces, const QList<double> &times)
    {
        meter.watch([this, pieces, times](const QString &key) {
            if (key != QLatin1String("K"))
                return;
            pollingWhenRequested = timer6.isEnabled();
            for (qsizetype i = 0; i < pieces.size(); ++i)
                feedAfter(times[i], pieces[i]);
        });
    }
};

} // namespace

class DownloadTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void downloadsTheSet();
    void collection_data();
    void collection();
    void nothingToFetch_data();
    void nothingToFetch();
    void valueFlagOnTheLastSet_data();
    void valueFlagOnTheLastSet();
    void unknownCodesTakeTheWindowTexts();
    void busyPortDoesNothing();
    void endingProgramStopsQuietly();
    void lostPortIsTold();
    void replyHelpers();
};

void DownloadTest::downloadsTheSet()
{
    DownloadRig rig;
    rig.shared.scaleMax = 5000;
    rig.answerK({leapDayReply()}, {0.1});
    QCOMPARE(rig.run(2, 3), Result::Listed);

    QCOMPARE(rig.windows.rows,
             QStringList({"1\t00-02-28\t23:59:55\t 010.00\tmV\t500 mV\tDC\t",
                          "2\t00-02-29\t00:00:00\t 020.00\tmV\t500 mV\tDC\t",
                          "3\t00-02-29\t00:00:05\t 030.00\tmV\t500 mV\tDC\t"}));
    QCOMPARE(rig.windows.decoding, QList<qint64>({1, 2, 3}));
    QCOMPARE(rig.windows.events,
             QStringList({"memory off", "close list", "status PLEASE WAIT.....",
                          "progress 4 RECORDS COMPLETED", "create", "texts mV|500 mV", "status ",
                          "show data off", "show 3  RECORDS IN NO. 2  SET|2", "memory on",
                          "progress "}));
    // Attention, the whole 7-byte buffer, then two releases twice.
    QCOMPARE(rig.port.sent(),
             QByteArrayList({"A", bytesOf({'K', 1, 0, 0, 0, 0, 0}), " ", " ", " ", " "}));
    QVERIFY(!rig.pollingWhenRequested);
    QVERIFY(!rig.windows.pollingWhenCreated);
    QVERIFY(rig.timer6.isEnabled());
    QCOMPARE(rig.shared.scaleMax, 500.0); // reset, then raised by the records
    QVERIFY(rig.dialogs.messages().isEmpty());
    QVERIFY(!rig.exchange.busy());
}

void DownloadTest::collection_data()
{
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<QList<double>>("times");
    QTest::addColumn<Result>("result");
    QTest::addColumn<QStringList>("progress"); // before the last, cleared one
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("endsBy"); // clock seconds from the start, at most

    const QByteArray reply = leapDayReply();
    QTest::newRow("in one piece") << QByteArrayList{reply} << QList<double>{0.1} << Result::Listed
                                  << QStringList{"4 RECORDS COMPLETED"} << QString() << 0.7;
    QTest::newRow("in pieces, header cut")
        << QByteArrayList{reply.left(5), reply.mid(5, 12), reply.mid(17)}
        << QList<double>{0.1, 0.2, 0.3} << Result::Listed
        << QStringList{"1 RECORDS COMPLETED", "2 RECORDS COMPLETED", "4 RECORDS COMPLETED"}
        << QString() << 0.9;
    QTest::newRow("pause shorter than the silence limit")
        << QByteArrayList{reply.left(17), reply.mid(17)} << QList<double>{0.1, 1.9} << Result::Listed
        << QStringList{"2 RECORDS COMPLETED", "4 RECORDS COMPLETED"} << QString() << 2.6;
    QTest::newRow("silent after one record")
        << QByteArrayList{reply.left(17)} << QList<double>{0.1} << Result::Failed
        << QStringList{"2 RECORDS COMPLETED"}
        << "Wait Time Out ! Only 1 of 3 Records Received ! Try Again !" << 3.0;
    QTest::newRow("silent in the middle of a record")
        << QByteArrayList{reply.left(20)} << QList<double>{0.1} << Result::Failed
        << QStringList{"2 RECORDS COMPLETED"}
        << "Wait Time Out ! Only 1 of 3 Records Received ! Try Again !" << 3.0;
    QTest::newRow("no reply") << QByteArrayList{} << QList<double>{} << Result::Failed
                              << QStringList{}
                              << "Wait Time Out ! Only 0 of 3 Records Received ! Try Again !" << 4.0;
    QTest::newRow("one byte short") << QByteArrayList{reply.chopped(1)} << QList<double>{0.1}
                                    << Result::Failed << QStringList{"3 RECORDS COMPLETED"}
                                    << "Wait Time Out ! Only 2 of 3 Records Received ! Try Again !"
                                    << 3.0;
}

void DownloadTest::collection()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(QList<double>, times);
    QFETCH(Result, result);
    QFETCH(QStringList, progress);
    QFETCH(QString, message);
    QFETCH(double, endsBy);
    DownloadRig rig;
    rig.answerK(pieces, times);
    const double start = rig.pump.advanced();
    QCOMPARE(rig.run(1, 3), result);
    QVERIFY(rig.pump.advanced() - start <= endsBy);

    QCOMPARE(rig.windows.progress(), progress + QStringList{QString()});
    QVERIFY(rig.timer6.isEnabled());
    QCOMPARE(rig.windows.events.last(2), QStringList({"memory on", "progress "}));
    // Attention and "K", then the releases: twice the pair for a list,
    // one pair without.
    const QByteArrayList sent = rig.port.sent();
    QCOMPARE(sent.size(), result == Result::Listed ? 6 : 4);
    QCOMPARE(sent.mid(2), QByteArrayList(sent.size() - 2, " "));
    if (message.isEmpty()) {
        QVERIFY(rig.dialogs.messages().isEmpty());
        QCOMPARE(rig.windows.rows.size(), 3);
        return;
    }
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{message});
    // No list at all: nothing partial is shown as if it were the set.
    QVERIFY(rig.windows.rows.isEmpty());
    QVERIFY(!rig.windows.events.contains(QStringLiteral("create")));
    QVERIFY(!rig.windows.events.contains(QStringLiteral("show data off")));
    QVERIFY(rig.windows.events.contains(QStringLiteral("status ")));
    QCOMPARE(rig.port.bytesWaiting(), 0);
}

void DownloadTest::nothingToFetch_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("set of 0 records") << 1 << qint64(0);
    QTest::newRow("no set chosen") << 0 << qint64(5);
    QTest::newRow("set beyond 256") << 257 << qint64(5);
}

void DownloadTest::nothingToFetch()
{
    QFETCH(int, set);
    QFETCH(qint64, expected);
    DownloadRig rig;
    rig.timer6.setEnabled(true);
    QCOMPARE(rig.run(set, expected), Result::Nothing);
    QCOMPARE(rig.port.sent(), QByteArrayList({" ", " "}));
    QCOMPARE(rig.windows.events,
             QStringList({"memory off", "close list", "memory on", "progress "}));
    QVERIFY(rig.timer6.isEnabled());
    QVERIFY(rig.dialogs.messages().isEmpty());
}

void DownloadTest::valueFlagOnTheLastSet_data()
{
    QTest::addColumn<int>("valueFlag");
    QTest::addColumn<bool>("lastSet");
    QTest::addColumn<QStringList>("progress");

    // The meter sends 4 records; the window expects one less (3).
    QTest::newRow("flag, last set") << 1 << true
                                    << QStringList{"4 RECORDS COMPLETED", "2 RECORDS COMPLETED", ""};
    QTest::newRow("flag, not the last set") << 1 << false
                                            << QStringList{"4 RECORDS COMPLETED", ""};
    QTest::newRow("no flag, last set") << 0 << true << QStringList{"4 RECORDS COMPLETED", ""};
}

void DownloadTest::valueFlagOnTheLastSet()
{
    QFETCH(int, valueFlag);
    QFETCH(bool, lastSet);
    DownloadRig rig;
    rig.shared.valueByteFlag = qint16(valueFlag);
    rig.answerK({leapDayReply() + millivolts(0x04)}, {0.1});
    QCOMPARE(rig.run(4, 3, lastSet), Result::Listed);
    QTEST(rig.windows.progress(), "progress");
    QCOMPARE(rig.windows.rows.size(), 3);
    // The record beyond the expected ones is not left for the live polling.
    QCOMPARE(rig.port.bytesWaiting(), 0);
}

void DownloadTest::unknownCodesTakeTheWindowTexts()
{
    DownloadRig rig;
    rig.answerK({setReply({0x24, 0x03, 0x05, 0x10, 0x00, 0x00}, 1,
                          {bytesOf({0xF0, 0x01, 0x23, 0x40, 0x09}), bytesOf({0x21, 0x01, 0x23, 0x40, 0x08})})},
                {0.1});
    logger::DownloadRequest request{7, 2, false, QStringLiteral("V"), QStringLiteral("5 V")};
    QCOMPARE(rig.download.run(request), Result::Listed);
    QCOMPARE(rig.windows.rows,
             QStringList({"1\t24-03-05\t10:00:00\t-0.1234\tV\t5 V\tDC\t",
                          "2\t24-03-05\t10:00:01\t 0.1234\tOhm\t5K Ohm\t\t"}));
    QVERIFY(rig.windows.events.contains(QStringLiteral("texts Ohm|5K Ohm")));
    QCOMPARE(rig.port.sent().at(1), bytesOf({'K', 6, 0, 0, 0, 0, 0}));
}

void DownloadTest::busyPortDoesNothing()
{
    DownloadRig rig;
    const auto held = rig.exchange.tryLock();
    QVERIFY(held.has_value());
    QCOMPARE(rig.run(1, 3), Result::Busy);
    QVERIFY(rig.port.sent().isEmpty());
    QVERIFY(rig.windows.events.isEmpty());
    QVERIFY(rig.timer6.isEnabled());
}

void DownloadTest::endingProgramStopsQuietly()
{
    DownloadRig rig;
    rig.answerK({leapDayReply().left(17)}, {0.1});
    rig.atTime(0.9, [&] { rig.pump.setEnding(true); });
    QCOMPARE(rig.run(1, 3), Result::Failed);
    QVERIFY(rig.dialogs.messages().isEmpty());
    QVERIFY(rig.windows.rows.isEmpty());
    QVERIFY(!rig.timer6.isEnabled()); // the polling stays off once ending
    QCOMPARE(rig.windows.events.last(2), QStringList({"memory on", "progress "}));
}

void DownloadTest::lostPortIsTold()
{
    DownloadRig rig;
    rig.answerK({leapDayReply().left(17)}, {0.1});
    rig.atTime(0.8, [&] { rig.port.setDeviceLost(true); });
    QCOMPARE(rig.run(1, 3), Result::Failed);
    QCOMPARE(rig.dialogs.messages().size(), 1);
    QCOMPARE(rig.dialogs.messages().first().text, logger::text::portLost);
    QCOMPARE(rig.dialogs.messages().first().icon, platform::MessageIcon::Critical);
    QVERIFY(rig.windows.rows.isEmpty());
    QVERIFY(rig.timer6.isEnabled());
}

void DownloadTest::replyHelpers()
{
    QCOMPARE(logger::recordsIn(0), 0);
    QCOMPARE(logger::recordsIn(11), 0);
    QCOMPARE(logger::recordsIn(16), 0);
    QCOMPARE(logger::recordsIn(17), 1);
    QCOMPARE(logger::recordsIn(12 + 5 * 52000), 52000);
    QVERIFY(!logger::setHeaderFrom(QByteArray(11, '\0')).has_value());
    const auto header = logger::setHeaderFrom(setReply({0x99, 0x12, 0x31, 0x23, 0x59, 0x55}, 0x012C, {}));
    QVERIFY(header.has_value());
    QCOMPARE(header->intervalSeconds, 300);
    QCOMPARE(header->start, (logger::MeterClock{99, 12, 31, 23, 59, 55}));
    QCOMPARE(logger::recordCountOf(QStringLiteral("52000")), 52000);
    QCOMPARE(logger::recordCountOf(QString()), 0);
    QCOMPARE(logger::recordCountOf(QStringLiteral("-3")), 0);
    QCOMPARE(logger::recordCountOf(QStringLiteral("99999")), 65535);
}

QTEST_GUILESS_MAIN(DownloadTest)
#include "tst_download.moc"
