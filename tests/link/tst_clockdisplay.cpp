#include "link/clockdisplay.h"
#include "link/feeds.h"

#include <QTest>

class ClockDisplayTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clockText_data();
    void clockText();
    void nextInterval_data();
    void nextInterval();
    void refreshOncePerSamplingTime_data();
    void refreshOncePerSamplingTime();
    void feedTexts_data();
    void feedTexts();
    void listLine();
    void samplingInterval_data();
    void samplingInterval();
};

void ClockDisplayTest::clockText_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("half rounds to even second") << 36958.5 << "10:15:58";
    QTest::newRow("late in the second rounds up") << 36959.7 << "10:16:00";
    QTest::newRow("last second of the day") << 86399.2 << "23:59:59";
    QTest::newRow("end of day wraps") << 86399.7 << "00:00:00";
}

void ClockDisplayTest::clockText()
{
    QFETCH(double, seconds);
    QTEST(live::clockText(seconds), "text");
}

void ClockDisplayTest::nextInterval_data()
{
    QTest::addColumn<int>("msOfDay");
    QTest::addColumn<int>("interval");
    const int base = (10 * 3600 + 15 * 60 + 59) * 1000;
    QTest::newRow("at .950 too close") << base + 950 << 1050;
    QTest::newRow("at .900 exactly 100") << base + 900 << 100;
    QTest::newRow("on the second") << base << 1000;
}

void ClockDisplayTest::nextInterval()
{
    QFETCH(int, msOfDay);
    QTEST(live::nextClockInterval(msOfDay, 1000), "interval");
}

void ClockDisplayTest::refreshOncePerSamplingTime_data()
{
    QTest::addColumn<double>("sampling");
    QTest::addColumn<QString>("pattern"); // one letter per tick: R refresh, - skip
    QTest::newRow("1.0 Sec") << 1.0 << "RRRR";
    QTest::newRow("2.5 Sec") << 2.5 << "--R--R";
    QTest::newRow("60 Sec") << 60.0 << QString(59, QLatin1Char('-')) + QLatin1Char('R');
}

void ClockDisplayTest::refreshOncePerSamplingTime()
{
    QFETCH(double, sampling);
    QFETCH(QString, pattern);
    common::SharedValues shared;
    shared.pcSampling = 1;
    QString seen;
    for (int tick = 0; tick < pattern.size(); ++tick)
        seen += live::clockRefreshDue(shared, sampling) ? QLatin1Char('R') : QLatin1Char('-');
    QCOMPARE(seen, pattern);
}

void ClockDisplayTest::feedTexts_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("fed");
    QTest::newRow("trailing zeros dropped") << "1.2000" << "1.2";
    QTest::newRow("negative") << "-01.234" << "-1.234";
    QTest::newRow("negative zero") << "-00.000" << "0";
    QTest::newRow("-OL") << "-OL" << "0";
    QTest::newRow("empty") << "" << "0";
}

void ClockDisplayTest::feedTexts()
{
    QFETCH(QString, value);
    QTEST(live::graphFeedText(value), "fed");
}

void ClockDisplayTest::listLine()
{
    QCOMPARE(live::listFeedText({QStringLiteral("10:15:58"), QStringLiteral("V"),
                                 QStringLiteral("5 V"), QStringLiteral("1.2345")}),
             QStringLiteral("  10:15:58    V    5 V:     1.2345"));
    QCOMPARE(live::listFeedText({QStringLiteral("10:15:58"), {}, {}, {}}),
             QStringLiteral("  10:15:58        :     "));
}

void ClockDisplayTest::samplingInterval_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("ms");
    QTest::newRow("2.5 Sec") << "2.5 Sec" << 2500;
    QTest::newRow("60 Sec") << "60 Sec" << 60000;
    QTest::newRow("0.1 exactly") << "0.1 Sec" << 100;
}

void ClockDisplayTest::samplingInterval()
{
    QFETCH(QString, label);
    QTEST(live::samplingIntervalMs(label), "ms");
}

QTEST_GUILESS_MAIN(ClockDisplayTest)
#include "tst_clockdisplay.moc"
