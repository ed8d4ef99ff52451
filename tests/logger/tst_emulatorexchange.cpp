// The logger requests against the emulated meter, paced at 2400 baud on
// the scripted clock: the replies come byte by byte as from the meter.

#include "emulator/emulatorport.h"
#include "logger/loggerrequests.h"
#include "logger/messages.h"
#include "logger/panelrequests.h"
#include "logger/setdirectory.h"
#include "platform/timer.h"
#include "platform/wait.h"
#include "support/scriptedclock.h"
#include "support/scripteddialogs.h"
#include "support/scriptedpump.h"

#include <QTest>

Q_DECLARE_METATYPE(emulator::FaultKind)

namespace {

struct Rig
{
    testsupport::ScriptedClock clock{36000.0, QDate(2024, 3, 15)};
    testsupport::ScriptedPump pump{clock};
    testsupport::ScriptedDialogs dialogs;
    emulator::EmulatorPort port{clock};
    platform::Timer timer6{platform::Timer::Mode::Manual};
    logger::TimerPolling polling{timer6};
    logger::Exchange exchange{{port, clock, pump, dialogs, polling}};
    logger::LoggerCommandBuffer loggerBuffer;
    logger::LoggerRequests requests{exchange, loggerBuffer};
    logger::PanelCommandBuffer panelBuffer;
    logger::PanelRequests panelRequests{exchange, panelBuffer};

    Rig()
    {
        pump.setStep(0.002);
        pump.setStepLimit(100'000);
        port.emulator().setLogger(emulator::LoggerContent::sample());
        port.open();
        port.send(" "); // the meter streams live frames, as after start-up
        platform::waitSeconds(0.3f, clock, pump);
        timer6.setEnabled(true);
    }
    emulator::LoggerContent meter() const { return port.emulator().logger(port.emulatorTime()); }
};

} // namespace

class EmulatorExchangeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsTheMeter();
    void writesReachTheMeter();
    void faults_data();
    void faults();
};

void EmulatorExchangeTest::readsTheMeter()
{
    Rig rig;
    const emulator::LoggerContent meter = rig.meter();
    const auto opening = rig.requests.openingStatus();
    QVERIFY(opening.ok());
    QCOMPARE(opening.value->status,
             (logger::StatusBlock{meter.idCode, meter.bytesInUse(), meter.samplingTime}));
    QCOMPARE(opening.value->memoryCode, int(meter.memorySizeCode));
    rig.exchange.finish({});

    const auto sets = rig.requests.numberOfSets();
    QVERIFY(sets.ok());
    QCOMPARE(*sets.value, int(meter.sets.size()));
    const auto directory = rig.requests.setDirectory(*sets.value);
    QVERIFY(directory.ok());
    QCOMPARE(logger::directoryRows(*directory.value, *sets.value).at(2),
             QStringLiteral("3\t00-02-28----23:59:55"));
    QCOMPARE(logger::directoryEntry(*directory.value, 2)->records, 50);
    rig.requests.releaseAfterSetList();
    QVERIFY(rig.port.emulator().streaming());

    const auto clock = rig.requests.meterClock();
    QVERIFY(clock.ok());
    QCOMPARE(logger::meterClockText(*clock.value),
             rig.meter().clock.toString(QStringLiteral("yy-MM-dd-----HH:mm:ss")));
}

void EmulatorExchangeTest::writesReachTheMeter()
{
    Rig rig;
    QVERIFY(rig.exchange.attention(logger::attentionSeconds));
    rig.requests.writeIdCode(65535);
    rig.requests.writeSamplingTime(300);
    rig.exchange.finish({});
    rig.panelRequests.writeMemorySize(4);
    rig.panelRequests.setMeterClock([](const QString &) {}, QStringLiteral("Com1"));
    const emulator::LoggerContent meter = rig.meter();
    QCOMPARE(meter.idCode, quint16(65535));
    QCOMPARE(meter.samplingTime, quint16(300));
    QCOMPARE(int(meter.memorySizeCode), 4);
    const qint64 apart = meter.clock.secsTo(
        QDateTime(rig.clock.now().date(), rig.clock.now().time(), Qt::UTC));
    QVERIFY2(qAbs(apart) <= 1, qPrintable(QString::number(apart)));
}

void EmulatorExchangeTest::faults_data()
{
    QTest::addColumn<emulator::FaultKind>("fault");
    QTest::addColumn<QString>("openingMessage"); // empty: the opening succeeds
    QTest::addColumn<QString>("listMessage");
    QTest::addColumn<QString>("clockMessage");

    using F = emulator::FaultKind;
    const QString tryAgain = logger::text::timeOutTryAgain;
    QTest::newRow("no reply at all")
        << F::NoLoggerReply << logger::text::timeOutExit << tryAgain << tryAgain;
    QTest::newRow("11-byte status blocks")
        << F::LongStatusReply << logger::text::badReply << QString() << QString();
    QTest::newRow("silent half way")
        << F::SilentMidReply << logger::text::timeOutExit << tryAgain << tryAgain;
}

void EmulatorExchangeTest::faults()
{
    QFETCH(emulator::FaultKind, fault);
    QFETCH(QString, openingMessage);
    QFETCH(QString, listMessage);
    QFETCH(QString, clockMessage);

    Rig rig;
    rig.port.emulator().setFault({fault, 0, 0});
    const auto opening = rig.requests.openingStatus();
    QCOMPARE(opening.ok() ? QString() : opening.failure.text, openingMessage);
    rig.exchange.finish({});

    rig.port.emulator().setFault({fault, 0, 0});
    const auto sets = rig.requests.numberOfSets();
    const auto directory = sets.ok() ? rig.requests.setDirectory(*sets.value)
                                     : logger::Outcome<QByteArray>::failed(sets.failure);
    QCOMPARE(directory.ok() ? QString() : directory.failure.text, listMessage);
    rig.exchange.finish({});

    rig.port.emulator().setFault({fault, 0, 0});
    const auto clock = rig.requests.meterClock();
    QCOMPARE(clock.ok() ? QString() : clock.failure.text, clockMessage);
    rig.exchange.finish({});
    QVERIFY(rig.timer6.isEnabled());
    QVERIFY(!rig.pump.limitHit());
}

QTEST_GUILESS_MAIN(EmulatorExchangeTest)
#include "tst_emulatorexchange.moc"
