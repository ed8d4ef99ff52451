// The cable pulled in the middle of each kind of work, then plugged back
// in: the program shows " NO COM ", tells the user when an exchange with
// the meter is cut, and comes back to normal with every file intact.

#include "faults/faultrig.h"
#include "faults/recordedfile.h"

#include "link/ui/panel.h"
#include "logger/ui/logger.h"
#include "platform/timer.h"
#include "reclist/ui/reclistwindow.h"
#include "recording/recordlistmodel.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

enum class Work { LiveReading, Recording, StatusRead, SetDirectory, Download, MeterClockWhileLost };

// Pulls the cable once the program has sent `request`, `delayMs` later
// (while the meter's reply is on its way).
void pullAfterRequest(faulttest::FaultRig &rig, char request, int delayMs)
{
    rig.tap.setProgramBytesHook([&rig, request, delayMs](const QByteArray &bytes) {
        if (!bytes.contains(request))
            return;
        rig.tap.setProgramBytesHook({});
        QTimer::singleShot(delayMs, &rig.tap, [&rig] { rig.tap.pull(); });
    });
}

bool openLogger(faulttest::FaultRig &rig)
{
    logger::LOGGER *window = rig.loggerWindow();
    if (!window)
        return false;
    window->Label4->clear();
    rig.panel().CMDMEMORY->click();
    return faulttest::waitFor([&] { return !window->Label4->text().isEmpty() && rig.panel().Timer6->isEnabled(); },
                              8000);
}

reclist::REC_LIST *recordList()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<reclist::REC_LIST *>(window))
            return found;
    }
    return nullptr;
}

// SHOW DATA for the meter's set 2 (50 records, about a second on the line).
void showSetTwo(logger::LOGGER &window)
{
    window.Text1->setText(QStringLiteral("2"));
    window.SSCommand3->click(); // the whole download runs inside the click
}

} // namespace

class CablePullTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pulledDuringWork_data();
    void pulledDuringWork();
};

void CablePullTest::pulledDuringWork_data()
{
    QTest::addColumn<Work>("work");
    QTest::addColumn<bool>("userTold"); // an exchange was cut: a message says so
    QTest::newRow("live reading") << Work::LiveReading << false;
    QTest::newRow("recording") << Work::Recording << false;
    QTest::newRow("logger status read") << Work::StatusRead << true;
    QTest::newRow("set directory") << Work::SetDirectory << true;
    QTest::newRow("download") << Work::Download << true;
    // Reading the meter's clock tries to open the gone port; the link-lost
    // routine must still reopen it once the cable is back.
    QTest::newRow("meter clock read while lost") << Work::MeterClockWhileLost << true;
}

void CablePullTest::pulledDuringWork()
{
    QFETCH(Work, work);
    QFETCH(bool, userTold);
    faulttest::FaultRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    live::PANEL &panel = rig.panel();
    faulttest::PanelWatch watch(panel);
    bool pluggedIn = false;
    watch.onNoCom([&] { pluggedIn = rig.tap.plugIn(); });
    faulttest::RecordingProbe recording(rig);
    logger::LOGGER *window = rig.loggerWindow();
    QVERIFY(window);

    switch (work) {
    case Work::LiveReading:
        rig.tap.pull();
        break;
    case Work::Recording:
        QVERIFY2(recording.start(rig.tempPath(QStringLiteral("pulled.dat"))), qPrintable(recording.error()));
        QVERIFY(faulttest::waitFor([&] { return recording.ticks() >= 3; }, 5000));
        rig.tap.pull();
        break;
    case Work::StatusRead:
        pullAfterRequest(rig, 'Y', 5);
        panel.CMDMEMORY->click();
        break;
    case Work::SetDirectory:
        QVERIFY(openLogger(rig));
        pullAfterRequest(rig, 'I', 30);
        window->SSCommand1->click(); // NO.S OF SET, then TIME OF RECORDING
        break;
    case Work::Download:
        QVERIFY(openLogger(rig));
        window->SSCommand1->click();
        QCOMPARE(window->Label2->text(), QStringLiteral("4"));
        pullAfterRequest(rig, 'K', 300);
        showSetTwo(*window);
        QVERIFY(!recordList() || !recordList()->isVisible()); // no list of a cut download
        break;
    case Work::MeterClockWhileLost:
        QVERIFY(openLogger(rig));
        watch.onNoCom([&] {
            window->SSCommand6->click(); // TIME OF METER
            pluggedIn = rig.tap.plugIn();
        });
        rig.tap.pull();
        break;
    }

    // The link counts as lost, the cable goes back in, the link returns.
    QVERIFY2(faulttest::waitFor([&] { return pluggedIn && panel.LBLCOMM->text() == QLatin1String("Com1"); },
                                15000),
             qPrintable(panel.LBLCOMM->text()));
    QVERIFY(watch.sawNoCom());
    QVERIFY(!watch.memoryEnabledWhileLost());
    QCOMPARE(!rig.dialogs.messages().isEmpty(), userTold);

    if (window->isLoaded()) {
        // The logger window's own buttons work again once the link is back.
        window->SSCommand1->click();
        QCOMPARE(window->setList().rowCount(), 4);
        if (work == Work::Download) {
            showSetTwo(*window);
            QVERIFY(recordList() && recordList()->isVisible());
            QCOMPARE(recordList()->list().recordCount(), 50);
        }
        window->close();
    }
    const QString problem = faulttest::checkRecovered(rig);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    if (work == Work::Recording) {
        // The lost link stopped the recording; every line ticked is whole.
        QVERIFY(!recording.running());
        QString fileProblem = recording.checkFile();
        QVERIFY2(fileProblem.isEmpty(), qPrintable(fileProblem));
        // And recording starts again into the same file.
        QVERIFY2(recording.start(rig.tempPath(QStringLiteral("pulled.dat"))), qPrintable(recording.error()));
        QVERIFY(faulttest::waitFor([&] { return recording.ticksSinceStart() >= 1; }, 5000));
        panel.CMDSTOP->click();
        fileProblem = recording.checkFile();
        QVERIFY2(fileProblem.isEmpty(), qPrintable(fileProblem));
    }
}

QTEST_MAIN(CablePullTest)
#include "tst_cablepull.moc"
