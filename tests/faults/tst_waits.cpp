// Every place where the program shows a dialog or waits with events running,
// with something happening meanwhile: a window the handler belongs to (or
// another one) is closed and destroyed, or the cable is pulled. The program
// must not touch what is gone, must give the line back to the live reading
// and show the meter's next reading, and must leave the recorded file whole.

#include "graphs/livegraphchart.h"
#include "graphs/ui/ggraph.h"
#include "recording/ui/attachrecording.h"
#include "reclist/ui/reclistrig.h"
#include "support/frames.h"
#include "views/ui/liveviews.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

enum class Place {
    GraphYmax,
    GraphYmin,
    GraphPrint,
    LoggerStatus,
    LoggerSets,
    LoggerShowData,
    LoggerIdCode,
    LoggerSampling,
    LoggerClock,
    PanelSystemTime,
    PanelUpdate,
    RecListSave,
    RecListPrint,
    RecordingSaveAs,
};

// What happens during the wait.
enum class Disturbance {
    CloseGraph,
    CloseList,
    CloseAnalog,
    CloseLogger,
    CloseRecordList,
    PullCable,
};

// Each place by name, with the request after which its wait comes (none:
// the wait is a dialog).
struct PlaceInfo
{
    Place place;
    const char *name;
    const char *request;
};
constexpr PlaceInfo places[] = {
    {Place::GraphYmax, "G_GRAPH Ymax", ""},
    {Place::GraphYmin, "G_GRAPH Ymin", ""},
    {Place::GraphPrint, "G_GRAPH Print", ""},
    {Place::LoggerStatus, "LOGGER status", "Y"},
    {Place::LoggerSets, "LOGGER sets", "I"},
    {Place::LoggerShowData, "LOGGER SHOW DATA", "K"},
    {Place::LoggerIdCode, "LOGGER ID CODE", ""},
    {Place::LoggerSampling, "LOGGER SAMPLING", ""},
    {Place::LoggerClock, "LOGGER clock", "C"},
    {Place::PanelSystemTime, "SYSTEM TIME SET", "A"},
    {Place::PanelUpdate, "UPDATE", ""},
    {Place::RecListSave, "REC_LIST SAVE", ""},
    {Place::RecListPrint, "REC_LIST PRINT", ""},
    {Place::RecordingSaveAs, "SAVE AS", ""},
};
constexpr const char *disturbanceNames[] = {"G_GRAPH closed", "LIST closed", "ANALOG closed",
                                             "LOGGER closed", "REC_LIST closed", "cable pulled"};

const auto frame = testsupport::liveFrame;
const QByteArray firstReading = frame(0x42, 0x01, 0x23, 0x40, 0x08); // 01.234, 50 V DC
const QByteArray laterReading = frame(0x42, 0x04, 0x32, 0x10, 0x08); // 04.321

// The whole program on the scripted platform: the panel with every feature,
// the three live views open, the logger window open with its set list read,
// set 2 downloaded into the record list, and a recording running.
struct Rig : reclisttest::RecListRig
{
    std::unique_ptr<QObject> recordings;
    std::unique_ptr<QObject> liveViews;
    QTemporaryDir dir;
    bool sawLinkLost = false;

    Rig()
    {
        recordings = recording::attachRecording(*panel);
        liveViews = views::attachLiveViews(*panel);
        meter.always(QStringLiteral("K"), reclisttest::millivoltReply(20), 0.1);
        port.feed(firstReading);
        panel->Timer6->fire();
        views().openGraph();
        views().openList();
        views().openAnalog();
        showSetTwo();
        dialogs.queueSaveFile(dir.filePath(QStringLiteral("rec.dat")));
        panel->CMDSTART->click();
        sampleTicks();
        clearRecords();
    }

    void showSetTwo()
    {
        window().Text1->clear();
        window().Text1->setText(QStringLiteral("2"));
        window().SSCommand3->click();
    }

    views::LiveViews &views() { return static_cast<views::LiveViews &>(*liveViews); }

    // What the timers do meanwhile: a reading, the views fed, a line recorded.
    void sampleTicks()
    {
        port.feed(firstReading);
        panel->Timer6->fire();
        panel->Timer2->fire();
        panel->Timer3->fire();
        panel->Timer4->fire();
    }

    void disturb(Disturbance disturbance)
    {
        QWidget *target = nullptr;
        switch (disturbance) {
        case Disturbance::CloseGraph: target = views().graph(); break;
        case Disturbance::CloseList: target = views().list(); break;
        case Disturbance::CloseAnalog: target = views().analog(); break;
        case Disturbance::CloseLogger: target = &window(); break;
        case Disturbance::CloseRecordList: target = &list(); break;
        case Disturbance::PullCable: pullCable(); return;
        }
        QVERIFY(target);
        target->close();
        // As the dialog's own event loop would: the closed window is gone
        // before the dialog returns.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The device goes away; when the polling runs it loses the link, and the
    // meter is back a second later.
    void pullCable()
    {
        port.setDeviceLost(true);
        pump.after(pump.advanced() + 1.0, [this] {
            sawLinkLost = panel->LBLCOMM->text() == QLatin1String(" NO COM ");
            port.setDeviceLost(false);
            port.feed(firstReading);
        });
        if (!panel->Timer6->isEnabled())
            return; // an exchange has the line: it ends on the loss itself
        // Ticks on a moving clock, until the meter is back.
        for (int i = 0; i < 400 && port.deviceLost(); ++i) {
            panel->Timer6->fire();
            pump.runFor(0.01);
        }
    }

    // The meter is there and sends a new reading: true once it is shown
    // within a second of polling ticks.
    bool showsLaterReading()
    {
        port.setDeviceLost(false);
        port.feed(laterReading);
        const double back = pump.advanced();
        while (pump.advanced() - back <= 1.0) {
            panel->Timer6->fire();
            if (panel->LBLVALUE->text() == QLatin1String("04.321"))
                return true;
            pump.runFor(0.01);
        }
        return false;
    }

    void start(Place place)
    {
        switch (place) {
        case Place::GraphYmax:
            dialogs.queueInput(QStringLiteral("20"));
            views().graph()->Ymax->trigger();
            break;
        case Place::GraphYmin:
            dialogs.queueInput(QStringLiteral("-20"));
            views().graph()->Ymin->trigger();
            break;
        case Place::GraphPrint:
            refuseNextPrintJob(QStringLiteral("No printer is installed."));
            views().graph()->Pgraphics->trigger();
            break;
        case Place::LoggerStatus: openLogger(); break;
        case Place::LoggerSets:
            openLogger(); // NO.S OF SET is on again
            window().SSCommand1->click();
            break;
        case Place::LoggerShowData: showSetTwo(); break;
        case Place::LoggerIdCode:
            dialogs.queueInput(QStringLiteral("42"));
            window().SSCommand4->click();
            break;
        case Place::LoggerSampling:
            dialogs.queueInput(QStringLiteral("7"));
            window().SSCommand5->click();
            break;
        case Place::LoggerClock: window().SSCommand6->click(); break;
        case Place::PanelSystemTime: panel->CMDSYSTEM->click(); break;
        case Place::PanelUpdate:
            dialogs.queueInput(QStringLiteral("4"));
            panel->CMDUPDATE->click();
            break;
        case Place::RecListSave:
            dialogs.queueSaveFile(dir.filePath(QStringLiteral("set2.txt")));
            list().MNUSAVE->trigger();
            break;
        case Place::RecListPrint:
            refuseNextPrintJob(QStringLiteral("No printer is installed."));
            list().MnuPrint->trigger();
            break;
        case Place::RecordingSaveAs:
            panel->CMDSTOP->click();
            dialogs.queueSaveFile(dir.filePath(QStringLiteral("next.dat")));
            panel->CMDSAVE->click();
            break;
        }
    }
};

// The recorded file: every line whole and numbered in turn.
QString recordedFileProblem(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("the recorded file cannot be read");
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty() || !bytes.endsWith("\r\n"))
        return QStringLiteral("the recorded file ends in the middle of a line");
    const QList<QByteArray> lines = bytes.chopped(2).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() != 8 || fields.first() != QByteArray::number(i + 1))
            return QStringLiteral("line %1 of the recorded file is broken: %2")
                .arg(i + 1)
                .arg(QString::fromLatin1(lines[i]));
    }
    return {};
}

} // namespace

class WaitsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void somethingHappensDuringTheWait_data();
    void somethingHappensDuringTheWait();
};

void WaitsTest::somethingHappensDuringTheWait_data()
{
    QTest::addColumn<Place>("place");
    QTest::addColumn<QString>("request");
    QTest::addColumn<Disturbance>("disturbance");
    for (const PlaceInfo &info : places) {
        for (int d = 0; d <= int(Disturbance::PullCable); ++d)
            QTest::addRow("%s, %s", info.name, disturbanceNames[d])
                << info.place << QString::fromLatin1(info.request) << Disturbance(d);
    }
}

void WaitsTest::somethingHappensDuringTheWait()
{
    QFETCH(Place, place);
    QFETCH(QString, request);
    QFETCH(Disturbance, disturbance);

    Rig rig;
    bool happened = false;
    bool pollingWhileAsked = true;
    const auto duringTheWait = [&] {
        happened = true;
        rig.sampleTicks();
        rig.disturb(disturbance);
        rig.sampleTicks();
    };
    if (request.isEmpty()) {
        rig.dialogs.whileNextUp([&] {
            // A question waits for the user, not the line.
            pollingWhileAsked = rig.polling() && !rig.loggerFeature().exchange().busy();
            duringTheWait();
        });
    } else {
        rig.meter.watch([&](const QString &key) {
            if (key != request || happened)
                return;
            rig.pump.after(rig.pump.advanced() + 0.02, duringTheWait);
        });
    }
    QVERIFY(rig.list().isVisible());
    rig.start(place);
    QCoreApplication::processEvents();
    rig.meter.watch({});

    QVERIFY2(happened, "the wait did not come");
    // The polling lost the link while the question was up, and came back.
    if (disturbance == Disturbance::PullCable && request.isEmpty())
        QVERIFY(rig.sawLinkLost);
    QVERIFY(pollingWhileAsked);
    QVERIFY(!rig.loggerFeature().exchange().busy());
    QVERIFY(rig.showsLaterReading());
    QCOMPARE(rig.panel->LBLCOMM->text(), QStringLiteral("Com1"));
    QVERIFY(rig.polling());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled() || rig.window().isLoaded());

    // The views still open show the new reading.
    rig.panel->Timer3->fire();
    if (graphs::G_GRAPH *graph = rig.views().graph()) {
        QCOMPARE(graph->Text1->text(), QStringLiteral("4.321"));
        QCOMPARE(graph->chart().lastRange(), rig.panel->LBLRAN->text());
    }
    // (A lost device ends the recording, and with it the list's feed.)
    if (views::LIST *list = rig.views().list(); list && rig.shared.listFeedOn == 1)
        QVERIFY(list->Lbl[std::size_t(list->rows().rowNext())]->text().endsWith(
            QLatin1String("04.321")));

    rig.panel->Timer4->fire();
    rig.panel->CMDSTOP->click();
    const QString problem = recordedFileProblem(rig.dir.filePath(QStringLiteral("rec.dat")));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_MAIN(WaitsTest)
#include "tst_waits.moc"
