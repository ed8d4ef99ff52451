// The download of a set from the emulated meter, paced at 2400 baud on the
// scripted clock, with the meter streaming live frames before and after.

#include "emulator/emulatorport.h"
#include "logger/download.h"
#include "platform/timer.h"
#include "platform/wait.h"
#include "support/scriptedclock.h"
#include "support/scripteddialogs.h"
#include "support/scriptedpump.h"

#include <QTest>

Q_DECLARE_METATYPE(emulator::FaultKind)

namespace {

// Keeps the rows; every other call only counts.
class RowKeeper : public logger::DownloadWindows
{
public:
    QStringList rows;
    QString summary;
    int lists = 0;

    void setMemoryButtonEnabled(bool) override {}
    void closeRecordList() override {}
    void setStatusCaption(const QString &) override {}
    void setProgressCaption(const QString &) override {}
    void createRecordList() override
    {
        ++lists;
        rows.clear();
    }
    void decodingRecord(qint64) override {}
    void appendRecordRow(const QString &row) override { rows << row; }
    void setFunctionRangeTexts(const QString &, const QString &) override {}
    void disableShowData() override {}
    void showRecordList(const QString &text, qint64) override { summary = text; }
};

struct Rig
{
    testsupport::ScriptedClock clock{36000.0, QDate(2024, 3, 15)};
    testsupport::ScriptedPump pump{clock};
    testsupport::ScriptedDialogs dialogs;
    emulator::EmulatorPort port{clock};
    platform::Timer timer6{platform::Timer::Mode::Manual};
    logger::TimerPolling polling{timer6};
    logger::Exchange exchange{{port, clock, pump, dialogs, polling}};
    logger::LoggerCommandBuffer buffer;
    common::SharedValues shared;
    RowKeeper windows;
    logger::SetDownload download{{exchange, buffer, shared, windows}};

    Rig()
    {
        pump.setStep(0.002);
        pump.setStepLimit(200'000);
        port.emulator().setLogger(emulator::LoggerContent::sample());
        port.open();
        port.send(" "); // the meter streams live frames, as after start-up
        platform::waitSeconds(0.3f, clock, pump);
        timer6.setEnabled(true);
    }

    logger::SetDownload::Result run(int set)
    {
        const emulator::LoggerContent meter = port.emulator().logger(port.emulatorTime());
        logger::DownloadRequest request;
        request.setNumber = set;
        request.expectedRecords = meter.sets.at(set - 1).records.size();
        return download.run(request);
    }
};

} // namespace

class DownloadEmulatorTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void downloadsTheMetersSet_data();
    void downloadsTheMetersSet();
    void faults_data();
    void faults();
};

void DownloadEmulatorTest::downloadsTheMetersSet_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("records");
    QTest::addColumn<QStringList>("someRows"); // each starts with its record number

    QTest::newRow("leap day") << 3 << 3
                              << QStringList{"1\t00-02-28\t23:59:55\t 0.1235\tOhm\t5K Ohm\t\t",
                                             "2\t00-02-29\t00:00:00\t 0.1235\tOhm\t5K Ohm\t\t",
                                             "3\t00-02-29\t00:00:05\t 0.1236\tOhm\t5K Ohm\t\t"};
    QTest::newRow("volts") << 2 << 50
                           << QStringList{"1\t24-03-14\t12:30:15\t 12.000\tV\t50 V\tDC\t",
                                          "8\t24-03-14\t12:31:25\t-12.777\tV\t50 V\tDC\t",
                                          "21\t24-03-14\t12:33:35\t OL    \tV\t50 V\tDC\t",
                                          "34\t24-03-14\t12:35:45\t 15.663\tV\t50 V\tDC\t Low ",
                                          "41\t24-03-14\t12:36:55\t 16.440\tV\t50 V\tAC\t"};
    QTest::newRow("ohms, beep, capacitance")
        << 4 << 12
        << QStringList{"1\t24-03-15\t09:00:00\t 23.450\tOhm\t50K Ohm\t\t",
                       "7\t24-03-15\t09:06:00\t 001.20\tOhm\t500 Ohm\tBEEP\t",
                       "8\t24-03-15\t09:07:00\t 1.2340\tCx\t5 uF\t\t"};
}

void DownloadEmulatorTest::downloadsTheMetersSet()
{
    QFETCH(int, set);
    QFETCH(int, records);
    QFETCH(QStringList, someRows);
    Rig rig;
    QCOMPARE(rig.run(set), logger::SetDownload::Result::Listed);
    QVERIFY(rig.dialogs.messages().isEmpty());
    QCOMPARE(rig.windows.rows.size(), records);
    for (const QString &row : someRows) {
        const int number = row.section(QLatin1Char('\t'), 0, 0).toInt();
        QCOMPARE(rig.windows.rows.at(number - 1), row);
    }
    QCOMPARE(rig.windows.summary,
             QStringLiteral("%1  RECORDS IN NO. %2  SET").arg(records).arg(set));
    // The meter streams its live frames again.
    QVERIFY(rig.timer6.isEnabled());
    QVERIFY(rig.port.emulator().streaming());
}

void DownloadEmulatorTest::faults_data()
{
    QTest::addColumn<emulator::FaultKind>("fault");
    QTest::addColumn<QString>("message");

    QTest::newRow("silent mid-reply")
        << emulator::FaultKind::SilentMidReply
        << "Wait Time Out ! Only 23 of 50 Records Received ! Try Again !";
    QTest::newRow("no reply") << emulator::FaultKind::NoLoggerReply
                              << "Wait Time Out ! Only 0 of 50 Records Received ! Try Again !";
    QTest::newRow("last byte missing")
        << emulator::FaultKind::ShortReply
        << "Wait Time Out ! Only 49 of 50 Records Received ! Try Again !";
}

void DownloadEmulatorTest::faults()
{
    QFETCH(emulator::FaultKind, fault);
    Rig rig;
    rig.port.emulator().setFault({fault, 1});
    const double start = rig.pump.advanced();
    QCOMPARE(rig.run(2), logger::SetDownload::Result::Failed);
    QVERIFY(rig.pump.advanced() - start < 5.0);
    QFETCH(QString, message);
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{message});
    QCOMPARE(rig.windows.lists, 0);
    QVERIFY(rig.timer6.isEnabled());

    // The meter is itself again after the release: the next try works.
    QCOMPARE(rig.run(2), logger::SetDownload::Result::Listed);
    QCOMPARE(rig.windows.rows.size(), 50);
}

QTEST_GUILESS_MAIN(DownloadEmulatorTest)
#include "tst_downloademulator.moc"
