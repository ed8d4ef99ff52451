#include "exchangerig.h"
#include "logger/messages.h"

#include <QTest>

using logger::Failure;
using loggertest::ExchangeRig;

namespace {

// How the reply is collected: 10 bytes by count, the 10-byte status block
// (read once the line is quiet), exactly 6 bytes (the clock), 24 bytes
// accumulated (two directory entries).
enum class How { Count10, Status10, Exactly6, Accumulate24 };

} // namespace

Q_DECLARE_METATYPE(logger::Failure)
Q_DECLARE_METATYPE(How)

class ExchangeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void collect_data();
    void collect();
    void attentionSendsWaitsAndFlushes();
    void endingStopsTheWaits();
    void abandonOrder_data();
    void abandonOrder();
    void oneOperationAtATime();
};

void ExchangeTest::collect_data()
{
    QTest::addColumn<How>("how");
    QTest::addColumn<QList<double>>("times"); // clock seconds each chunk arrives
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<int>("bytesRead");
    QTest::addColumn<int>("leftWaiting");
    QTest::addColumn<double>("endsBy"); // at most; a time-out ends no more than 0.05 s earlier
    QTest::addColumn<QList<qint64>>("progress"); // accumulating only

    const auto row = [](const char *name, How how, const QList<double> &times,
                        const QByteArrayList &chunks, Failure failure, int read, int left,
                        double endsBy, const QList<qint64> &progress = {}) {
        QTest::newRow(name) << how << times << chunks << failure << read << left << endsBy
                            << progress;
    };
    const QByteArray ten(10, 'x');
    using F = Failure;
    row("in two parts", How::Count10, {0.1, 0.3}, {"abcd", "efghij"}, F::None, 10, 0, 0.32);
    row("too late", How::Count10, {2.5}, {ten}, F::TimedOut, 0, 0, 2.02);
    row("nine and no more", How::Count10, {0.1}, {QByteArray(9, 'x')}, F::TimedOut, 0, 9, 2.02);
    // A byte time after the count: part of the reply only when judged by length.
    row("count reached, the 11th a byte time later, not waited for", How::Count10, {0.1, 0.108},
        {ten, "y"}, F::None, 10, 0, 0.107);
    row("status, the 11th a byte time later, read with it", How::Status10, {0.1, 0.108},
        {ten, "y"}, F::None, 11, 0, 0.14);
    row("clock six then one more later", How::Exactly6, {0.2, 0.4}, {"123456", "7"}, F::None, 6,
        0, 0.24);
    row("clock seven, the seventh a byte time later", How::Exactly6, {0.2, 0.208},
        {"123456", "7"}, F::WrongLength, 0, 7, 0.24);
    row("clock five", How::Exactly6, {0.2}, {"12345"}, F::TimedOut, 0, 5, 3.045); // 3 s + 6 bytes
    row("in pieces", How::Accumulate24, {0.1, 0.2, 0.3}, {"12345", "123456789012", "1234567"},
        F::None, 24, 0, 0.32, {5, 17, 24});
    row("longer than expected: the rest left unread", How::Accumulate24, {0.1},
        {QByteArray(30, 'x')}, F::None, 24, 6, 0.12, {24});
    row("no first byte", How::Accumulate24, {}, {}, F::TimedOut, 0, 0, 3.02);
    row("falls silent half way", How::Accumulate24, {0.5}, {QByteArray(12, 'x')}, F::TimedOut, 12,
        0, 2.52, {12});
    // 3 s and twice 24 byte times on the line.
    row("a trickle slower than the line", How::Accumulate24, {0.5, 1.5, 2.5, 3.5},
        {"a", "b", "c", "d"}, F::TimedOut, 3, 0, 3.22, {1, 2, 3});
}

void ExchangeTest::collect()
{
    QFETCH(How, how);
    QFETCH(QList<double>, times);
    QFETCH(QByteArrayList, chunks);
    QFETCH(Failure, failure);
    QFETCH(int, bytesRead);
    QFETCH(int, leftWaiting);
    QFETCH(double, endsBy);
    QFETCH(QList<qint64>, progress);

    ExchangeRig rig;
    for (qsizetype i = 0; i < times.size(); ++i)
        rig.feedAfter(times.at(i), chunks.at(i));
    QList<qint64> seen;
    logger::Reply reply;
    if (how == How::Accumulate24)
        reply = rig.exchange.accumulate(24, logger::accumulateLimits(24),
                                        [&](qint64 n) { seen.append(n); });
    else if (how == How::Exactly6)
        reply = rig.exchange.collectExactly(6, logger::replyLimitSeconds(6));
    else
        reply = rig.exchange.collectCount(10, logger::statusReplySeconds, how == How::Status10);
    QCOMPARE(reply.failure, failure);
    QCOMPARE(reply.bytes.size(), bytesRead);
    QCOMPARE(seen, progress);
    QCOMPARE(rig.port.bytesWaiting(), leftWaiting);
    QVERIFY2(rig.pump.advanced() <= endsBy, qPrintable(QString::number(rig.pump.advanced())));
    if (failure == Failure::TimedOut)
        QVERIFY(rig.pump.advanced() >= endsBy - 0.05);
}

void ExchangeTest::attentionSendsWaitsAndFlushes()
{
    ExchangeRig rig;
    rig.feedAfter(0.2, "\x02\x80\x12"); // the end of a live frame
    QVERIFY(rig.exchange.attention(logger::attentionSeconds));
    QCOMPARE(rig.port.sent(), QByteArrayList{"A"});
    QVERIFY(rig.pump.advanced() >= 0.5 && rig.pump.advanced() < 0.52);
    QCOMPARE(rig.port.bytesWaiting(), 0);
    QCOMPARE(rig.port.readLengths(), QList<int>{0});
}

void ExchangeTest::endingStopsTheWaits()
{
    ExchangeRig rig;
    rig.exchange.pausePolling();
    rig.atTime(0.1, [&] { rig.pump.setEnding(true); });
    QVERIFY(!rig.exchange.attention(logger::attentionSeconds));
    QVERIFY(rig.pump.advanced() < 0.15);
    QCOMPARE(rig.exchange.collectAny(3.0).failure, Failure::Ending);
    rig.exchange.finish({}); // polling stays off once the program is ending
    QVERIFY(!rig.timer6.isEnabled());
}

void ExchangeTest::abandonOrder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("flush");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("leftWaiting");

    const QStringList closing{"caption:", "restore", "send: "};
    QTest::newRow("message and flush")
        << logger::text::timeOutExit << true << QStringList{"message"} + closing << 0;
    QTest::newRow("message, no flush")
        << logger::text::timeOutTryAgain << false << QStringList{"message"} + closing << 3;
    QTest::newRow("silent") << QString() << false << closing << 3;
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
    QCOMPARE(rig.dialogs.messageTexts(), text.isEmpty() ? QStringList{} : QStringList{text});
}

void ExchangeTest::oneOperationAtATime()
{
    ExchangeRig rig;
    {
        auto first = rig.exchange.tryLock();
        QVERIFY(first);
        QVERIFY(!rig.exchange.tryLock());
        auto moved = std::move(*first);
        first.reset(); // the moved-from lock releases nothing
        QVERIFY(rig.exchange.busy());
    }
    QVERIFY(!rig.exchange.busy());
    QVERIFY(rig.exchange.tryLock());
}

QTEST_GUILESS_MAIN(ExchangeTest)
#include "tst_exchange.moc"
