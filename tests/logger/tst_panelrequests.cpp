#include "exchangerig.h"
#include "logger/panelrequests.h"
#include "scriptedmeter.h"

#include <QTest>

using loggertest::bytesOf;
using loggertest::ExchangeRig;

namespace {

struct Rig : ExchangeRig
{
    logger::PanelCommandBuffer buffer;
    logger::PanelRequests requests{exchange, buffer};
    QStringList log; // what happened, in order

    Rig()
    {
        port.setResponder([this](const QByteArray &sent) {
            log.append(QStringLiteral("send %1 polling %2")
                           .arg(QString::fromLatin1(sent.toHex()), timer6.isEnabled() ? "on" : "off"));
        });
    }
    logger::Caption caption()
    {
        return [this](const QString &text) { log.append("caption " + text); };
    }
};

} // namespace

class PanelRequestsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void setMeterClock_data();
    void setMeterClock();
    void writeMemorySize();
    void memorySizeAfterClockSet();
};

void PanelRequestsTest::setMeterClock_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QByteArray>("clockBytes");
    QTest::newRow("2009-12-31 23:59:59") << QDate(2009, 12, 31) << 86399.0
                                         << bytesOf({0x09, 0x12, 0x31, 0x23, 0x59, 0x59});
    QTest::newRow("2000-05-31 14:22:05") << QDate(2000, 5, 31) << 51725.0
                                         << bytesOf({0x00, 0x05, 0x31, 0x14, 0x22, 0x05});
    QTest::newRow("2024-01-02 00:00:00") << QDate(2024, 1, 2) << 0.0
                                         << bytesOf({0x24, 0x01, 0x02, 0x00, 0x00, 0x00});
}

void PanelRequestsTest::setMeterClock()
{
    QFETCH(QDate, date);
    QFETCH(double, seconds);
    QFETCH(QByteArray, clockBytes);
    Rig rig;
    rig.clock.setDate(date);
    // The clock is read after the 0.1 s attention wait.
    rig.clock.setSecondsSinceMidnight(seconds - 0.1);
    if (seconds < 0.1) {
        rig.clock.setDate(date.addDays(-1));
        rig.clock.setSecondsSinceMidnight(86400.0 - 0.1);
    }
    rig.port.feed("junk");
    rig.requests.setMeterClock(rig.caption(), QStringLiteral("Com2"));
    const QString clockHex = QString::fromLatin1((QByteArray("D") + clockBytes + '\0').toHex());
    QCOMPARE(rig.log, (QStringList{"caption WAIT", "send 41 polling off",
                                   "send " + clockHex + " polling off", "send 20 polling off",
                                   "caption Com2"}));
    QVERIFY(rig.timer6.isEnabled());
    QCOMPARE(rig.port.readLengths(), (QList<int>{0, 0}));
}

void PanelRequestsTest::writeMemorySize()
{
    Rig rig;
    rig.requests.writeMemorySize(3);
    QCOMPARE(rig.log, (QStringList{"send 41 polling off", "send 5700000086030000 polling off",
                                   "send 20 polling off", "send 20 polling on"}));
    QVERIFY(rig.timer6.isEnabled());
    // 0.5 s attention, 0.05 s after the write, two pauses of 0.01 s.
    QVERIFY(rig.pump.advanced() >= 0.57 && rig.pump.advanced() < 0.6);
}

void PanelRequestsTest::memorySizeAfterClockSet()
{
    Rig rig;
    rig.clock.setDate(QDate(2009, 12, 31));
    rig.clock.setSecondsSinceMidnight(86399.0 - 0.1);
    rig.requests.setMeterClock(rig.caption(), QStringLiteral("Com1"));
    rig.port.clearSent();
    rig.requests.writeMemorySize(4);
    QCOMPARE(rig.port.sent().at(1), bytesOf({'W', 0, 0, 0, 134, 4, 0x59, 0}));
}

QTEST_GUILESS_MAIN(PanelRequestsTest)
#include "tst_panelrequests.moc"
