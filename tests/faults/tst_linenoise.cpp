// Bad bytes on the line: spoiled frames, random bytes, a meter that answers
// half a reply or a reply of the wrong length. The program never shows a
// reading the meter did not send (as long as no random byte can forge a
// frame), tells the user when an exchange fails, and is back to normal
// afterwards.

#include "faults/faultrig.h"

#include "link/ui/panel.h"
#include "logger/ui/logger.h"
#include "platform/timer.h"

#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>

namespace {

enum class During { LiveReading, StatusRead, MeterClock };

struct Noise
{
    emulator::FaultKind fault = emulator::FaultKind::None;
    int times = 0;           // 0: until cleared
    double randomSeconds = 0; // random bytes from the tap for this long
    int randomPerTick = 0;    // bytes every 10 ms
};

// Every LBLVALUE text shown while the test runs.
class ValueWatch : public QObject
{
public:
    explicit ValueWatch(const live::PANEL &panel)
    {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this, &panel] { seen_.insert(panel.LBLVALUE->text()); });
        timer_.start();
    }
    QSet<QString> seen() const { return seen_; }

private:
    QTimer timer_;
    QSet<QString> seen_;
};

constexpr int liveFaultMs = 1000;

} // namespace

class LineNoiseTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void badBytes_data();
    void badBytes();
};

void LineNoiseTest::badBytes_data()
{
    using emulator::FaultKind;
    QTest::addColumn<During>("during");
    QTest::addColumn<Noise>("noise");
    QTest::addColumn<bool>("onlyTrueReadings"); // no random byte could forge a frame
    QTest::addColumn<bool>("userTold");

    QTest::newRow("garbage instead of frames")
        << During::LiveReading << Noise{FaultKind::Garbage} << true << false;
    QTest::newRow("stray bytes before every frame")
        << During::LiveReading << Noise{FaultKind::StrayBytes, 0, 0, 0} << true << false;
    QTest::newRow("wrong end bytes") << During::LiveReading << Noise{FaultKind::WrongEndByte} << true << false;
    QTest::newRow("frames cut short") << During::LiveReading << Noise{FaultKind::TruncatedFrame} << true << false;
    QTest::newRow("random bytes among the frames")
        << During::LiveReading << Noise{FaultKind::None, 0, 1.0, 2} << false << false;
    QTest::newRow("random bytes beyond the line rate")
        << During::LiveReading << Noise{FaultKind::None, 0, 1.0, 8} << false << false;
    QTest::newRow("status block a byte long, once")
        << During::StatusRead << Noise{FaultKind::LongStatusReply, 1} << true << false;
    QTest::newRow("status block a byte short, once")
        << During::StatusRead << Noise{FaultKind::ShortReply, 1} << true << false;
    QTest::newRow("random bytes during the status read")
        << During::StatusRead << Noise{FaultKind::None, 0, 1.0, 1} << false << false;
    QTest::newRow("half a clock reply")
        << During::MeterClock << Noise{FaultKind::SilentMidReply, 1} << true << true;
}

void LineNoiseTest::badBytes()
{
    QFETCH(During, during);
    QFETCH(Noise, noise);
    QFETCH(bool, onlyTrueReadings);
    QFETCH(bool, userTold);
    faulttest::FaultRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    live::PANEL &panel = rig.panel();
    logger::LOGGER *window = rig.loggerWindow();
    QVERIFY(window);
    ValueWatch values(panel);
    const QString trueReading = panel.LBLVALUE->text();

    if (during == During::MeterClock) {
        panel.CMDMEMORY->click();
        QVERIFY(faulttest::waitFor([&] { return !window->Label4->text().isEmpty() && panel.Timer6->isEnabled(); },
                                   8000));
    }
    rig.meter.setFault({noise.fault, noise.times, 0});
    if (noise.randomSeconds > 0)
        rig.tap.injectNoise(noise.randomSeconds, noise.randomPerTick);

    switch (during) {
    case During::LiveReading: {
        bool over = false;
        QTimer::singleShot(liveFaultMs, &rig.tap, [&] { over = true; });
        QVERIFY(faulttest::waitFor([&] { return over && !rig.tap.injectingNoise(); }, 10000));
        break;
    }
    case During::StatusRead:
        panel.CMDMEMORY->click();
        QVERIFY(faulttest::waitFor(
            [&] { return (!window->Label4->text().isEmpty() || !window->isLoaded()) && panel.Timer6->isEnabled(); },
            20000));
        break;
    case During::MeterClock:
        window->SSCommand6->click(); // the exchange runs inside the click
        QVERIFY(panel.Timer6->isEnabled());
        break;
    }
    rig.meter.clearFault();
    QVERIFY(faulttest::waitFor([&] { return !rig.tap.injectingNoise(); }, 5000));
    QCOMPARE(!rig.dialogs.messages().isEmpty(), userTold);
    if (window->isLoaded())
        window->close();

    // Live noise leaves the port itself alone: the logger exchange is put
    // to work again only after faults in an exchange.
    const QString problem = faulttest::checkRecovered(
        rig, during == During::LiveReading ? faulttest::Recovery::Live : faulttest::Recovery::Logger);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    if (onlyTrueReadings) {
        const QSet<QString> allowed{trueReading, QString(), QStringLiteral("04.321")};
        QVERIFY2(values.seen().subtract(allowed).isEmpty(),
                 qPrintable(QStringList(values.seen().values()).join(u'|')));
    }
}

QTEST_MAIN(LineNoiseTest)
#include "tst_linenoise.moc"
