#include "exchangerig.h"
#include "logger/loggerrequests.h"
#include "logger/messages.h"
#include "scriptedmeter.h"

#include <QTest>

using loggertest::bytesOf;
using loggertest::entryBytes;

namespace {

struct Rig : loggertest::ExchangeRig
{
    loggertest::ScriptedMeter meter{port, pump};
    logger::LoggerCommandBuffer buffer;
    logger::LoggerRequests requests{exchange, buffer};
};

const QByteArray status = loggertest::statusBytes(4711, 98304, 5);

} // namespace

class LoggerRequestsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openingStatus_data();
    void openingStatus();
    void setDirectory_data();
    void setDirectory();
    void closedPortIsOpenedForTheClock();
    void writes_data();
    void writes();
    void releaseAfterSetList();
};

void LoggerRequestsTest::openingStatus_data()
{
    QTest::addColumn<QByteArrayList>("statusReplies"); // one per "Y"; empty: no answer
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QString>("message"); // empty: success

    const QStringList thrice{"A", "Y", "A", "Y", "A", "Y"};
    QTest::newRow("ordinary") << QByteArrayList{status} << QStringList{"A", "Y", "R134", "R135"}
                              << QString();
    QTest::newRow("11-byte status is asked again")
        << QByteArrayList{status + '\0', status}
        << QStringList{"A", "Y", "A", "Y", "R134", "R135"} << QString();
    QTest::newRow("status never answered")
        << QByteArrayList{{}, {}, {}} << thrice << logger::text::timeOutExit;
    QTest::newRow("status always 11 bytes")
        << QByteArrayList(3, status + '\0') << thrice << logger::text::badReply;
}

void LoggerRequestsTest::openingStatus()
{
    QFETCH(QByteArrayList, statusReplies);
    QFETCH(QStringList, requests);
    QFETCH(QString, message);

    Rig rig;
    for (const QByteArray &reply : statusReplies)
        rig.meter.once(QStringLiteral("Y"), reply);
    rig.meter.always(QStringLiteral("R134"), bytesOf({2}));
    rig.meter.always(QStringLiteral("R135"), bytesOf({3}));

    const auto outcome = rig.requests.openingStatus();
    QCOMPARE(rig.meter.requests(), requests);
    // Every wait ends: three status tries of 0.5 s + 2 s are the longest.
    QVERIFY(rig.pump.advanced() < 3 * 2.5 + 0.1);
    QCOMPARE(outcome.ok() ? QString() : outcome.failure.text, message);
    if (!outcome.ok()) {
        QVERIFY(outcome.failure.flushInput);
        QVERIFY(outcome.failure.icon != platform::MessageIcon::Critical);
        return;
    }
    QCOMPARE(outcome.value->status.idCode, quint16(4711));
    QCOMPARE(outcome.value->sizeK, 128);
    QCOMPARE(outcome.value->setCount, 3);
}

void LoggerRequestsTest::setDirectory_data()
{
    QTest::addColumn<int>("sets");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("lastProgress");

    const QByteArray two = entryBytes({0x24, 0x03, 0x14, 0x08, 0, 0}, 20)
                           + entryBytes({0x24, 0x03, 0x14, 0x12, 0x30, 0x15}, 50);
    QTest::newRow("two sets") << 2 << two << true << qint64(24);
    QTest::newRow("no sets") << 0 << QByteArray() << true << qint64(-1);
    QTest::newRow("one entry of two, then silence") << 2 << two.left(12) << false << qint64(12);
    QTest::newRow("meter switched off") << 2 << QByteArray() << false << qint64(-1);
}

void LoggerRequestsTest::setDirectory()
{
    QFETCH(int, sets);
    QFETCH(QByteArray, reply);
    QFETCH(bool, ok);
    QFETCH(qint64, lastProgress);
    Rig rig;
    rig.meter.always(QStringLiteral("I"), reply, 0.2);
    qint64 progress = -1;
    const auto outcome = rig.requests.setDirectory(sets, [&](qint64 n) { progress = n; });
    QCOMPARE(rig.meter.requests(), (QStringList{"A", "I"}));
    QCOMPARE(progress, lastProgress);
    QCOMPARE(outcome.ok(), ok);
    if (ok) {
        QCOMPARE(*outcome.value, reply);
        return;
    }
    QCOMPARE(outcome.failure.text, logger::text::timeOutTryAgain);
    QVERIFY(outcome.failure.flushInput);
    QVERIFY(rig.pump.advanced() <= 0.5 + 0.2 + logger::responseMarginSeconds + 0.02);
}

void LoggerRequestsTest::closedPortIsOpenedForTheClock()
{
    Rig rig;
    rig.port.close();
    rig.meter.always(QStringLiteral("C"), bytesOf({0x24, 0x03, 0x15, 0x10, 0x30, 0x05}));
    QVERIFY(rig.requests.meterClock().ok());
    QCOMPARE(rig.port.openCalls(), 2);
}

void LoggerRequestsTest::writes_data()
{
    QTest::addColumn<bool>("idCode");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QList<int>>("readLengths"); // one per flush of the input
    QTest::addColumn<double>("seconds");
    QTest::newRow("ID code 0x1234") << true
                                    << QByteArrayList{bytesOf({'W', 0, 0, 0, 128, 0x12, 0}),
                                                      bytesOf({'W', 0, 0, 0, 129, 0x34, 0})}
                                    << QList<int>{0, 0, 0} << 0.4;
    QTest::newRow("sampling 300") << false
                                  << QByteArrayList{bytesOf({'W', 0, 0, 0, 130, 1, 0}),
                                                    bytesOf({'W', 0, 0, 0, 131, 44, 0})}
                                  << QList<int>{0} << 0.2;
}

void LoggerRequestsTest::writes()
{
    QFETCH(bool, idCode);
    QFETCH(QByteArrayList, sent);
    QFETCH(QList<int>, readLengths);
    QFETCH(double, seconds);
    Rig rig;
    for (const char *key : {"W128", "W129", "W130", "W131"})
        rig.meter.always(QLatin1String(key), "W");
    if (idCode)
        rig.requests.writeIdCode(0x1234);
    else
        rig.requests.writeSamplingTime(300);
    QCOMPARE(rig.port.sent(), sent);
    QCOMPARE(rig.port.readLengths(), readLengths);
    QVERIFY(rig.pump.advanced() >= seconds && rig.pump.advanced() < seconds + 0.03);
}

void LoggerRequestsTest::releaseAfterSetList()
{
    Rig rig;
    rig.exchange.pausePolling();
    QList<bool> pollingAtSend;
    rig.port.setResponder(
        [&](const QByteArray &) { pollingAtSend.append(rig.timer6.isEnabled()); });
    rig.requests.releaseAfterSetList();
    QCOMPARE(rig.port.sent(), (QByteArrayList{" ", " "}));
    QCOMPARE(pollingAtSend, (QList<bool>{false, true}));
    QCOMPARE(rig.port.readLengths(), QList<int>{0});
    QVERIFY(rig.pump.advanced() >= 0.3 && rig.pump.advanced() < 0.33);
}

QTEST_GUILESS_MAIN(LoggerRequestsTest)
#include "tst_loggerrequests.moc"
