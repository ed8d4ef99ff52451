#include "exchangerig.h"
#include "logger/messages.h"

#include <QTest>

using logger::Failure;
using loggertest::ExchangeRig;

Q_DECLARE_METATYPE(logger::Failure)

namespace {

enum class Collect { Count10, Status10, Exactly6 };

void schedule(ExchangeRig &rig, const QList<double> &times, const QByteArrayList &chunks)
{
    for (qsizetype i = 0; i < times.size(); ++i)
        rig.feedAfter(times.at(i), chunks.at(i));
}

} // namespace

Q_DECLARE_METATYPE(Collect)

class ExchangeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void collectFixed_data();
    void collectFixed();
    void accumulate_data();
    void accumulate();
    void attentionSendsWaitsAndFlushes();
    void endingStopsTheAttentionWait();
    void abandonOrder_data();
    void abandonOrder();
    void pollingStaysOffWhenEnding();
    void oneOperationAtATime();
    void limitsFollowTheLineSpeed();
};

void ExchangeTest::collectFixed_data()
{
    QTest::addColumn<Collect>("collect");
    QTest::addColumn<QList<double>>("times");
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<int>("bytesRead");
    QTest::addColumn<int>("leftWaiting");
    QTest::addColumn<double>("endsBy"); // clock seconds the wait may take at most

    const QByteArray ten(10, 'x');
    QTest::newRow("ten at 0.5 s") << Collect::Count10 << QList<double>{0.5} << QByteArrayList{ten}
                                  << Failure::None << 10 << 0 << 0.52;
    QTest::newRow("eleven read whole")
        << Collect::Count10 << QList<double>{0.1} << QByteArrayList{ten + 'y'} << Failure::None
        << 11 << 0 << 0.12;
    QTest::newRow("in two parts") << Collect::Count10 << QList<double>{0.1, 0.3}
                                  << QByteArrayList{"abcd", "efghij"} << Failure::None << 10 << 0
                                  << 0.32;
    QTest::newRow("too late") << Collect::Count10 << QList<double>{2.5} << QByteArrayList{ten}
                              << Failure::TimedOut << 0 << 0 << 2.02;
    QTest::newRow("nine and no more")
        << Collect::Count10 << QList<double>{0.1} << QByteArrayList{QByteArray(9, 'x')}
        << Failure::TimedOut << 0 << 9 << 2.02;
    QTest::newRow("never") << Collect::Count10 << QList<double>{} << QByteArrayList{}
                           << Failure::TimedOut << 0 << 0 << 2.02;

    // A byte time after the count: part of the reply when judged by length.
    QTest::newRow("count reached, the 11th a byte time later, not waited for")
        << Collect::Count10 << QList<double>{0.1, 0.108} << QByteArrayList{ten, "y"}
        << Failure::None << 10 << 0 << 0.107;
    QTest::newRow("status, the 11th a byte time later, read with it")
        << Collect::Status10 << QList<double>{0.1, 0.108} << QByteArrayList{ten, "y"}
        << Failure::None << 11 << 0 << 0.14;
    QTest::newRow("status of ten, line quiet")
        << Collect::Status10 << QList<double>{0.1} << QByteArrayList{ten} << Failure::None << 10
        << 0 << 0.13;

    const double clockLimit = logger::replyLimitSeconds(6) + 0.02;
    QTest::newRow("clock six") << Collect::Exactly6 << QList<double>{0.2}
                               << QByteArrayList{"123456"} << Failure::None << 6 << 0 << 0.24;
    QTest::newRow("clock seven at once is refused unread")
        << Collect::Exactly6 << QList<double>{0.2} << QByteArrayList{"1234567"}
        << Failure::WrongLength << 0 << 7 << 0.24;
    QTest::newRow("clock six then one more later")
        << Collect::Exactly6 << QList<double>{0.2, 0.4} << QByteArrayList{"123456", "7"}
        << Failure::None << 6 << 0 << 0.24;
    QTest::newRow("clock seven, the seventh a byte time later")
        << Collect::Exactly6 << QList<double>{0.2, 0.208} << QByteArrayList{"123456", "7"}
        << Failure::WrongLength << 0 << 7 << 0.24;
    QTest::newRow("clock five") << Collect::Exactly6 << QList<double>{0.2}
                                << QByteArrayList{"12345"} << Failure::TimedOut << 0 << 5
                                << clockLimit;
}

void ExchangeTest::collectFixed()
{
    QFETCH(Collect, collect);
    QFETCH(QList<double>, times);
    QFETCH(QByteArrayList, chunks);
    QFETCH(Failure, failure);
    QFETCH(int, bytesRead);
    QFETCH(int, leftWaiting);
    QFETCH(double, endsBy);

    ExchangeRig rig;
    schedule(rig, times, chunks);
    logger::Reply reply;
    if (collect == Collect::Exactly6)
        reply = rig.exchange.collectExactly(6, logger::replyLimitSeconds(6));
    else
        reply = rig.exchange.collectCount(10, logger::statusReplySeconds,
                                          collect == Collect::Status10);
    QCOMPARE(reply.failure, failure);
    QCOMPARE(reply.bytes.size(), bytesRead);
    QCOMPARE(rig.port.bytesWaiting(), leftWaiting);
    QVERIFY2(rig.pump.advanced() <= endsBy, qPrintable(QString::number(rig.pump.advanced())));
    if (failure == Failure::TimedOut)
        QVERIFY(rig.pump.advanced() >= endsBy - 0.05);
}

void ExchangeTest::accumulate_data()
{
    QTest::addColumn<int>("expected");
    QTest::addColumn<QList<double>>("times");
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QList<qint64>>("progress");
    QTest::addColumn<int>("leftWaiting");
    QTest::addColumn<double>("endedAt"); // clock seconds, +- 0.02

    QTest::newRow("in pieces") << 24 << QList<double>{0.1, 0.2, 0.3}
                               << QByteArrayList{"12345", "123456789012", "1234567"}
                               << Failure::None << QList<qint64>{5, 17, 24} << 0 << 0.3;
    QTest::newRow("longer than expected: the rest left unread")
        << 24 << QList<double>{0.1} << QByteArrayList{QByteArray(30, 'x')} << Failure::None
        << QList<qint64>{24} << 6 << 0.1;
    QTest::newRow("nothing expected")
        << 0 << QList<double>{} << QByteArrayList{} << Failure::None << QList<qint64>{} << 0 << 0.0;
    QTest::newRow("no first byte") << 24 << QList<double>{} << QByteArrayList{} << Failure::TimedOut
                                   << QList<qint64>{} << 0 << logger::responseMarginSeconds;
    QTest::newRow("falls silent half way")
        << 24 << QList<double>{0.5} << QByteArrayList{QByteArray(12, 'x')} << Failure::TimedOut
        << QList<qint64>{12} << 0 << 0.5 + logger::silenceSeconds;
    QTest::newRow("a trickle slower than the line")
        << 24 << QList<double>{0.5, 1.5, 2.5, 3.5} << QByteArrayList{"a", "b", "c", "d"}
        << Failure::TimedOut << QList<qint64>{1, 2, 3} << 0 << logger::accumulateLimits(24).total;
}

void ExchangeTest::accumulate()
{
    QFETCH(int, expected);
    QFETCH(QList<double>, times);
    QFETCH(QByteArrayList, chunks);
    QFETCH(Failure, failure);
    QFETCH(QList<qint64>, progress);
    QFETCH(int, leftWaiting);
    QFETCH(double, endedAt);

    ExchangeRig rig;
    schedule(rig, times, chunks);
    QList<qint64> seen;
    const logger::Reply reply = rig.exchange.accumulate(
        expected, logger::accumulateLimits(expected), [&](qint64 n) { seen.append(n); });
    QCOMPARE(reply.failure, failure);
    QCOMPARE(seen, progress);
    QCOMPARE(reply.bytes.size(), progress.isEmpty() ? 0 : progress.last());
    QCOMPARE(rig.port.bytesWaiting(), leftWaiting);
    QVERIFY2(qAbs(rig.pump.advanced() - endedAt) <= 0.02,
             qPrintable(QString::number(rig.pump.advanced())));
}

void ExchangeTest::attentionSendsWaitsAndFlushes()
{
    ExchangeRig rig;
    rig.feedAfter(0.2, "\x02\x80\x12"); // the end of a live frame
    QVERIFY(rig.exchange.attention(logger::attentionSeconds));
    QCOMPARE(rig.port.sent(), QByteArrayList{"A"});
    QVERIFY(rig.pump.advanced() >= 0.5);
    QVERIFY(rig.pump.advanced() < 0.52);
    QCOMPARE(rig.port.bytesWaiting(), 0);
    QCOMPARE(rig.port.readLengths(), QList<int>{0});
}

void ExchangeTest::endingStopsTheAttentionWait()
{
    ExchangeRig rig;
    rig.atTime(0.1, [&] { rig.pump.setEnding(true); });
    QVERIFY(!rig.exchange.attention(logger::attentionSeconds));
    QVERIFY(rig.pump.advanced() < 0.15);
    const logger::Reply reply = rig.exchange.collectAny(3.0);
    QCOMPARE(reply.failure, Failure::Ending);
}

void ExchangeTest::abandonOrder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("flush");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("leftWaiting");

    QTest::newRow("message and flush")
        << logger::text::timeOutExit << true
        << QStringList{"message", "caption:", "restore", "send: "} << 0;
    QTest::newRow("message, no flush")
        << logger::text::timeOutTryAgain << false
        << QStringList{"message", "caption:", "restore", "send: "} << 3;
    QTest::newRow("silent") << QString() << false << QStringList{"caption:", "restore", "send: "}
                            << 3;
}

void ExchangeTest::abandonOrder()
{
    QFETCH(QString, text);
    QFETCH(bool, flush);
    QFETCH(QStringList, steps);
    QFETCH(int, leftWaiting);

    ExchangeRig rig;
    QStringList log;
    rig.dialogs.setOnMessage([&](const auto &) { log.append(QStringLiteral("message")); });
    rig.port.setResponder(
        [&](const QByteArray &b) { log.append("send:" + QString::fromLatin1(b)); });
    rig.exchange.pausePolling();
    rig.port.feed("abc");
    rig.exchange.abandon(
        {text, platform::MessageIcon::None, flush},
        [&](const QString &c) { log.append("caption:" + c); },
        [&] {
            QVERIFY(!rig.timer6.isEnabled());
            log.append(QStringLiteral("restore"));
        });
    QCOMPARE(log, steps);
    QCOMPARE(rig.port.bytesWaiting(), leftWaiting);
    QVERIFY(rig.timer6.isEnabled());
    if (!text.isEmpty())
        QCOMPARE(rig.dialogs.messageTexts(), QStringList{text});
}

void ExchangeTest::pollingStaysOffWhenEnding()
{
    ExchangeRig rig;
    rig.exchange.pausePolling();
    QVERIFY(!rig.timer6.isEnabled());
    rig.pump.setEnding(true);
    rig.exchange.finish({});
    QVERIFY(!rig.timer6.isEnabled());
}

void ExchangeTest::oneOperationAtATime()
{
    ExchangeRig rig;
    {
        auto first = rig.exchange.tryLock();
        QVERIFY(first);
        QVERIFY(rig.exchange.busy());
        QVERIFY(!rig.exchange.tryLock());
        auto moved = std::move(*first);
        first.reset(); // the moved-from lock releases nothing
        QVERIFY(rig.exchange.busy());
    }
    QVERIFY(!rig.exchange.busy());
    QVERIFY(rig.exchange.tryLock());
}

void ExchangeTest::limitsFollowTheLineSpeed()
{
    // 240 bytes a second at 2400 baud, 3 s for the meter to start answering.
    QCOMPARE(logger::transmissionSeconds(240), 1.0);
    QCOMPARE(logger::replyLimitSeconds(6), 3.025);
    const logger::AccumulateLimits set255 = logger::accumulateLimits(255 * 12);
    QCOMPARE(set255.firstByte, 3.0);
    QCOMPARE(set255.silence, 2.0);
    QCOMPARE(set255.total, 28.5); // 3060 bytes: 12.75 s on the line, twice, plus 3 s
}

QTEST_GUILESS_MAIN(ExchangeTest)
#include "tst_exchange.moc"
