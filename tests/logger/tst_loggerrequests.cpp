#include "exchangerig.h"
#include "logger/loggerrequests.h"
#include "logger/messages.h"
#include "scriptedmeter.h"

#include <QTest>

using loggertest::bytesOf;
using loggertest::entryBytes;
using loggertest::ExchangeRig;
using loggertest::ScriptedMeter;
using loggertest::statusBytes;

namespace {

struct Rig : ExchangeRig
{
    ScriptedMeter meter{port, pump};
    logger::LoggerCommandBuffer buffer;
    logger::LoggerRequests requests{exchange, buffer};
};

const QByteArray status96K = statusBytes(4711, 98304, 5);

} // namespace

class LoggerRequestsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openingStatus_data();
    void openingStatus();
    void openingBytesOnTheLine();
    void setDirectory_data();
    void setDirectory();
    void closedPortIsOpenedForTheClock();
    void idCodeWrite();
    void samplingWrite();
    void releaseAfterSetList();
};

void LoggerRequestsTest::openingStatus_data()
{
    QTest::addColumn<QByteArrayList>("statusReplies"); // one per "Y"; empty: no answer
    QTest::addColumn<int>("code");                     // -1: no answer
    QTest::addColumn<int>("sets");                     // -1: no answer
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QString>("message"); // empty: success
    QTest::addColumn<bool>("flush");
    QTest::addColumn<bool>("critical");

    const QStringList whole{"A", "Y", "R134", "R135"};
    QTest::newRow("ordinary") << QByteArrayList{status96K} << 2 << 3 << whole << QString() << false
                              << false;
    QTest::newRow("11-byte status is asked again")
        << QByteArrayList{status96K + '\0', status96K} << 2 << 3
        << QStringList{"A", "Y", "A", "Y", "R134", "R135"} << QString() << false << false;
    QTest::newRow("silent status is asked again")
        << QByteArrayList{QByteArray(), status96K} << 2 << 3
        << QStringList{"A", "Y", "A", "Y", "R134", "R135"} << QString() << false << false;
    QTest::newRow("status never answered")
        << QByteArrayList{QByteArray(), QByteArray(), QByteArray()} << 2 << 3
        << QStringList{"A", "Y", "A", "Y", "A", "Y"} << logger::text::timeOutExit << true << false;
    QTest::newRow("status always 11 bytes")
        << QByteArrayList{status96K + '\0', status96K + '\0', status96K + '\0'} << 2 << 3
        << QStringList{"A", "Y", "A", "Y", "A", "Y"} << logger::text::badReply << true << false;
}

void LoggerRequestsTest::openingStatus()
{
    QFETCH(QByteArrayList, statusReplies);
    QFETCH(int, code);
    QFETCH(int, sets);
    QFETCH(QStringList, requests);
    QFETCH(QString, message);
    QFETCH(bool, flush);
    QFETCH(bool, critical);

    Rig rig;
    for (const QByteArray &reply : statusReplies)
        rig.meter.once(QStringLiteral("Y"), reply);
    if (code >= 0)
        rig.meter.always(QStringLiteral("R134"), bytesOf({code}));
    if (sets >= 0)
        rig.meter.always(QStringLiteral("R135"), bytesOf({sets}));

    const auto outcome = rig.requests.openingStatus();
    QCOMPARE(rig.meter.requests(), requests);
    QCOMPARE(outcome.ok(), message.isEmpty());
    // Every wait ends: three status tries of 0.5 s + 2 s are the longest.
    QVERIFY(rig.pump.advanced() < 3 * 2.5 + 0.1);
    if (!outcome.ok()) {
        QCOMPARE(outcome.failure.text, message);
        QCOMPARE(outcome.failure.flushInput, flush);
        QCOMPARE(outcome.failure.icon == platform::MessageIcon::Critical, critical);
        return;
    }
    QCOMPARE(outcome.value->status.idCode, quint16(4711));
    QCOMPARE(outcome.value->status.bytesInUse, quint32(98304));
    QCOMPARE(outcome.value->status.samplingTime, quint16(5));
    QCOMPARE(outcome.value->memoryCode, code);
    QCOMPARE(outcome.value->sizeK, 64 * code);
    QCOMPARE(outcome.value->setCount, sets);
}

void LoggerRequestsTest::openingBytesOnTheLine()
{
    Rig rig;
    rig.meter.always(QStringLiteral("Y"), status96K);
    rig.meter.always(QStringLiteral("R134"), bytesOf({4}));
    rig.meter.always(QStringLiteral("R135"), bytesOf({0}));
    QVERIFY(rig.requests.openingStatus().ok());
    QCOMPARE(rig.port.sent(), (QByteArrayList{"A", "Y", bytesOf({'R', 0, 0, 0, 134, 0, 0}),
                                              bytesOf({'R', 0, 0, 0, 135, 0, 0})}));
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
    QCOMPARE(outcome.ok(), ok);
    QCOMPARE(progress, lastProgress);
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

void LoggerRequestsTest::idCodeWrite()
{
    Rig rig;
    rig.meter.always(QStringLiteral("W128"), "W");
    rig.meter.always(QStringLiteral("W129"), "W");
    rig.requests.writeIdCode(0x1234);
    QCOMPARE(rig.port.sent(), (QByteArrayList{bytesOf({'W', 0, 0, 0, 128, 0x12, 0}),
                                              bytesOf({'W', 0, 0, 0, 129, 0x34, 0})}));
    QCOMPARE(rig.port.readLengths(), (QList<int>{0, 0, 0}));
    QCOMPARE(rig.port.bytesWaiting(), 0); // both answers dropped
    QVERIFY(rig.pump.advanced() >= 0.4 && rig.pump.advanced() < 0.43);
}

void LoggerRequestsTest::samplingWrite()
{
    Rig rig;
    rig.meter.always(QStringLiteral("W130"), "W");
    rig.meter.always(QStringLiteral("W131"), "W");
    rig.requests.writeSamplingTime(300);
    QCOMPARE(rig.port.sent(), (QByteArrayList{bytesOf({'W', 0, 0, 0, 130, 1, 0}),
                                              bytesOf({'W', 0, 0, 0, 131, 44, 0})}));
    QCOMPARE(rig.port.readLengths(), QList<int>{0});
    QVERIFY(rig.pump.advanced() >= 0.2 && rig.pump.advanced() < 0.23);
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
