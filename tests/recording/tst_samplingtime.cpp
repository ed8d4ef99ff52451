#include "recording/samplingtime.h"

#include <QTest>

class SamplingTimeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void asksWithTheCurrentTime();
    void readsTheAnswer_data();
    void readsTheAnswer();
    void emptyAnswerChangesNothing();
};

void SamplingTimeTest::asksWithTheCurrentTime()
{
    QCOMPARE(recording::samplingDefaultAnswer(QStringLiteral("2.0 Sec")), QStringLiteral("2."));
    QCOMPARE(recording::samplingDefaultAnswer(QStringLiteral("12.5 Sec")), QStringLiteral("12.5"));
}

void SamplingTimeTest::readsTheAnswer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("sampleTick");
    QTest::addColumn<int>("intervalMs");
    const QString tooSmall = QStringLiteral("Number Too Small ! Set Value to 1 !");
    const QString tooLarge = QStringLiteral("Number Too Large ! Set Value to 60 !");
    QTest::newRow("decimal comma 2,5") << "2,5" << "" << "2.5 Sec" << 2 << 2500;
    QTest::newRow("0.5 too small") << "0.5" << tooSmall << "1.0 Sec" << 0 << 1000;
    QTest::newRow("75 too large") << "75" << tooLarge << "60.0 Sec" << 59 << 60000;
    QTest::newRow("text counts 0") << "fast" << tooSmall << "1.0 Sec" << 0 << 1000;
    QTest::newRow("bounds kept: 1") << "1" << "" << "1.0 Sec" << 0 << 1000;
    QTest::newRow("bounds kept: 60") << "60" << "" << "60.0 Sec" << 59 << 60000;
    QTest::newRow("just above 60") << "60.01" << tooLarge << "60.0 Sec" << 59 << 60000;
    QTest::newRow("3.5 ticks round to even") << "3.5" << "" << "3.5 Sec" << 2 << 3500;
    QTest::newRow("label rounds half away") << "2.25" << "" << "2.3 Sec" << 1 << 2250;
    QTest::newRow("interval to whole ms") << "1.0005" << "" << "1.0 Sec" << 0 << 1000;
    QTest::newRow("leading blanks") << "  7 s" << "" << "7.0 Sec" << 6 << 7000;
}

void SamplingTimeTest::readsTheAnswer()
{
    QFETCH(QString, answer);
    const recording::SamplingChoice choice = recording::readSamplingAnswer(answer);
    QVERIFY(choice.changed);
    QTEST(choice.message, "message");
    QTEST(recording::samplingLabelText(choice.seconds), "label");
    QTEST(int(recording::sampleTickFor(choice.seconds)), "sampleTick");
    QTEST(recording::samplingIntervalMs(choice.seconds), "intervalMs");
}

void SamplingTimeTest::emptyAnswerChangesNothing()
{
    const recording::SamplingChoice choice = recording::readSamplingAnswer(QString());
    QVERIFY(!choice.changed);
    QVERIFY(choice.message.isEmpty());
}

QTEST_GUILESS_MAIN(SamplingTimeTest)
#include "tst_samplingtime.moc"
