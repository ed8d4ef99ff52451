// Time stamps of downloaded records: carries, month lengths, leap years
// and the two-digit year's wrap.

#include "logger/storedrecordclock.h"

#include <QDateTime>
#include <QTest>

namespace {

QStringList stamps(const logger::MeterClock &start, int interval, int count)
{
    logger::StoredRecordClock clock(start, interval);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        const logger::MeterClock stamp = clock.next();
        texts << logger::recordDateText(stamp) + QLatin1Char(' ') + logger::recordTimeText(stamp);
    }
    return texts;
}

} // namespace

class StoredRecordClockTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void monthLengths_data();
    void monthLengths();
    void stampsFromTheStart_data();
    void stampsFromTheStart();
    void agreesWithTheCalendar_data();
    void agreesWithTheCalendar();
};

void StoredRecordClockTest::monthLengths_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");

    QTest::newRow("January") << 1 << 24 << 31;
    QTest::newRow("April") << 4 << 24 << 30;
    QTest::newRow("June") << 6 << 24 << 30;
    QTest::newRow("July") << 7 << 24 << 31;
    QTest::newRow("August") << 8 << 24 << 31;
    QTest::newRow("September") << 9 << 24 << 30;
    QTest::newRow("November") << 11 << 24 << 30;
    QTest::newRow("December") << 12 << 24 << 31;
    QTest::newRow("February 00 (leap)") << 2 << 0 << 29;
    QTest::newRow("February 24 (leap)") << 2 << 24 << 29;
    QTest::newRow("February 23") << 2 << 23 << 28;
    QTest::newRow("February 98") << 2 << 98 << 28;
    QTest::newRow("month 0 (corrupt)") << 0 << 24 << 31;
    QTest::newRow("month 13 (corrupt)") << 13 << 24 << 31;
}

void StoredRecordClockTest::monthLengths()
{
    QFETCH(int, month);
    QFETCH(int, year);
    QTEST(logger::monthLength(month, year), "days");
}

void StoredRecordClockTest::stampsFromTheStart_data()
{
    QTest::addColumn<logger::MeterClock>("start");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("leap day of 00") << logger::MeterClock{0, 2, 28, 23, 59, 55} << 5
                                    << QStringList{"00-02-28 23:59:55", "00-02-29 00:00:00",
                                                   "00-02-29 00:00:05"};
    QTest::newRow("year wrap") << logger::MeterClock{99, 12, 31, 23, 59, 55} << 10
                               << QStringList{"99-12-31 23:59:55", "00-01-01 00:00:05"};
    QTest::newRow("February 01 has 28 days") << logger::MeterClock{1, 2, 28, 23, 59, 59} << 1
                                             << QStringList{"01-02-28 23:59:59", "01-03-01 00:00:00"};
    QTest::newRow("end of April") << logger::MeterClock{24, 4, 30, 23, 59, 50} << 10
                                  << QStringList{"24-04-30 23:59:50", "24-05-01 00:00:00"};
    QTest::newRow("end of January") << logger::MeterClock{24, 1, 31, 23, 0, 0} << 3600
                                    << QStringList{"24-01-31 23:00:00", "24-02-01 00:00:00"};
    QTest::newRow("end of July into August") << logger::MeterClock{24, 7, 31, 12, 0, 0} << 43200
                                             << QStringList{"24-07-31 12:00:00", "24-08-01 00:00:00",
                                                            "24-08-01 12:00:00"};
    QTest::newRow("interval 0") << logger::MeterClock{24, 3, 5, 1, 2, 3} << 0
                                << QStringList{"24-03-05 01:02:03", "24-03-05 01:02:03"};
    QTest::newRow("longest interval") << logger::MeterClock{24, 12, 31, 12, 0, 0} << 65535
                                      << QStringList{"24-12-31 12:00:00", "25-01-01 06:12:15",
                                                     "25-01-02 00:24:30"};
    QTest::newRow("first stamp carries a corrupt second")
        << logger::MeterClock{24, 3, 5, 1, 2, 75} << 5
        << QStringList{"24-03-05 01:03:15", "24-03-05 01:03:20"};
    QTest::newRow("corrupt day twice the month: never day 0")
        << logger::MeterClock{0, 2, 58, 0, 0, 0} << 1 << QStringList{"00-03-29 00:00:00"};
    QTest::newRow("corrupt month 13") << logger::MeterClock{98, 13, 1, 0, 0, 0} << 1
                                      << QStringList{"99-01-01 00:00:00"};
    QTest::newRow("corrupt day 0 stays") << logger::MeterClock{24, 3, 0, 0, 0, 0} << 1
                                         << QStringList{"24-03-00 00:00:00", "24-03-00 00:00:01"};
}

void StoredRecordClockTest::stampsFromTheStart()
{
    QFETCH(logger::MeterClock, start);
    QFETCH(int, interval);
    QFETCH(QStringList, expected);
    QCOMPARE(stamps(start, interval, int(expected.size())), expected);
}

void StoredRecordClockTest::agreesWithTheCalendar_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("count");

    QTest::newRow("hourly over 2000, a leap year") << QDateTime(QDate(2000, 1, 1), QTime(0, 30, 0))
                                                   << 3600 << 24 * 366 + 5;
    QTest::newRow("odd interval over 2023-2024")
        << QDateTime(QDate(2023, 12, 20), QTime(7, 13, 29)) << 65521 << 1200;
    QTest::newRow("every 7 s over a month end") << QDateTime(QDate(2021, 2, 27), QTime(23, 0, 1))
                                                << 7 << 30000;
}

void StoredRecordClockTest::agreesWithTheCalendar()
{
    QFETCH(QDateTime, start);
    QFETCH(int, interval);
    QFETCH(int, count);
    const QDate d = start.date();
    const QTime t = start.time();
    logger::StoredRecordClock clock({d.year() % 100, d.month(), d.day(), t.hour(), t.minute(), t.second()},
                                    interval);
    for (int n = 0; n < count; ++n) {
        const logger::MeterClock stamp = clock.next();
        const QDateTime expected = start.addSecs(qint64(n) * interval);
        QCOMPARE(logger::recordDateText(stamp), expected.toString(QStringLiteral("yy-MM-dd")));
        QCOMPARE(logger::recordTimeText(stamp), expected.toString(QStringLiteral("HH:mm:ss")));
    }
}

QTEST_GUILESS_MAIN(StoredRecordClockTest)
#include "tst_storedrecordclock.moc"
