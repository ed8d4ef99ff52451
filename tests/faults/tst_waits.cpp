// Every place that shows a dialog or waits with events running, while a window
// is closed and destroyed or the cable is pulled: nothing gone is touched, the
// line goes back to the live reading, and the recorded file stays whole.

#include "graphs/livegraphchart.h"
#include "graphs/ui/ggraph.h"
#include "recording/ui/attachrecording.h"
#include "reclist/ui/reclistrig.h"
#include "support/frames.h"
#include "support/recordedfile.h"
#include "views/ui/liveviews.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

enum class Disturbance { CloseGraph, CloseList, CloseAnalog, CloseLogger, CloseRecordList, PullCable };
constexpr const char *disturbanceNames[] = {"G_GRAPH closed", "LIST closed", "ANALOG closed",
                                             "LOGGER closed", "REC_LIST closed", "cable pulled"};

const QByteArray firstReading = testsupport::liveFrame(0x42, 0x01, 0x23, 0x40, 0x08); // 01.234, 50 V DC
const QByteArray laterReading = testsupport::liveFrame(0x42, 0x04, 0x32, 0x10, 0x08); // 04.321

// The whole program on the scripted platform: the three live views and the
// logger window open, set 2 in the record list, and a recording running.
struct Rig : reclisttest::RecListRig
{
    std::unique_ptr<QObject> recordings = recording::attachRecording(*panel);
    std::unique_ptr<QObject> liveViews = views::attachLiveViews(*panel);
    QTemporaryDir dir;
    bool sawLinkLost = false;

    Rig()
    {
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
        if (disturbance == Disturbance::PullCable)
            return pullCable();
        const QList<QWidget *> targets{views().graph(), views().list(), views().analog(), &window(), &list()};
        QVERIFY(targets[int(disturbance)]);
        targets[int(disturbance)]->close();
        // As the dialog's own event loop would: the closed window is gone before the dialog returns.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The polling loses the link; the meter is back a second later.
    void pullCable()
    {
        port.setDeviceLost(true);
        pump.after(pump.advanced() + 1.0, [this] {
            sawLinkLost = panel->LBLCOMM->text() == QLatin1String(" NO COM ");
            port.setDeviceLost(false);
            port.feed(firstReading);
        });
        if (panel->Timer6->isEnabled()) // else an exchange has the line: it ends on the loss itself
            pollUntil(4.0, [this] { return !port.deviceLost(); });
    }

    bool pollUntil(double seconds, const std::function<bool()> &done)
    {
        for (int step = 0; step <= seconds * 100; ++step, pump.runFor(0.01))
            if (panel->Timer6->fire(); done())
                return true;
        return false;
    }

    bool showsLaterReading()
    {
        port.setDeviceLost(false);
        port.feed(laterReading);
        return pollUntil(1.0, [this] { return panel->LBLVALUE->text() == QLatin1String("04.321"); });
    }
};

// Each place, with the request after which its wait comes (none: a dialog).
struct Place { const char *name, *request; void (*start)(Rig &); };
const Place places[] = {
    {"G_GRAPH Ymax", "", [](Rig &r) { r.dialogs.queueInput("20"); r.views().graph()->Ymax->trigger(); }},
    {"G_GRAPH Ymin", "", [](Rig &r) { r.dialogs.queueInput("-20"); r.views().graph()->Ymin->trigger(); }},
    {"G_GRAPH Print", "", [](Rig &r) { r.refuseNextPrintJob("No printer is installed."); r.views().graph()->Pgraphics->trigger(); }},
    {"LOGGER status", "Y", [](Rig &r) { r.openLogger(); }},
    {"LOGGER sets", "I", [](Rig &r) { r.openLogger(); r.window().SSCommand1->click(); }},
    {"LOGGER SHOW DATA", "K", [](Rig &r) { r.showSetTwo(); }},
    {"LOGGER ID CODE", "", [](Rig &r) { r.dialogs.queueInput("42"); r.window().SSCommand4->click(); }},
    {"LOGGER SAMPLING", "", [](Rig &r) { r.dialogs.queueInput("7"); r.window().SSCommand5->click(); }},
    {"LOGGER clock", "C", [](Rig &r) { r.window().SSCommand6->click(); }},
    {"SYSTEM TIME SET", "A", [](Rig &r) { r.panel->CMDSYSTEM->click(); }},
    {"UPDATE", "", [](Rig &r) { r.dialogs.queueInput("4"); r.panel->CMDUPDATE->click(); }},
    {"REC_LIST SAVE", "", [](Rig &r) { r.dialogs.queueSaveFile(r.dir.filePath("set2.txt")); r.list().MNUSAVE->trigger(); }},
    {"REC_LIST PRINT", "", [](Rig &r) { r.refuseNextPrintJob("No printer is installed."); r.list().MnuPrint->trigger(); }},
    {"SAVE AS", "", [](Rig &r) { r.panel->CMDSTOP->click(); r.dialogs.queueSaveFile(r.dir.filePath("next.dat")); r.panel->CMDSAVE->click(); }},
};

} // namespace

class WaitsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void somethingHappensDuringTheWait_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<Disturbance>("disturbance");
        for (int p = 0; p < int(std::size(places)); ++p)
            for (int d = 0; d <= int(Disturbance::PullCable); ++d)
                QTest::addRow("%s, %s", places[p].name, disturbanceNames[d]) << p << Disturbance(d);
    }
    void somethingHappensDuringTheWait()
    {
        QFETCH(int, place);
        QFETCH(Disturbance, disturbance);
        const QString request = QString::fromLatin1(places[place].request);
        Rig rig;
        bool happened = false, pollingWhileAsked = true;
        const auto duringTheWait = [&] {
            happened = true;
            rig.sampleTicks();
            rig.disturb(disturbance);
            rig.sampleTicks();
        };
        if (request.isEmpty()) {
            rig.dialogs.whileNextUp([&] { // a question waits for the user, not the line
                pollingWhileAsked = rig.polling() && !rig.loggerFeature().exchange().busy();
                duringTheWait();
            });
        } else {
            rig.meter.watch([&](const QString &key) {
                if (key == request && !happened)
                    rig.pump.after(rig.pump.advanced() + 0.02, duringTheWait);
            });
        }
        QVERIFY(rig.list().isVisible());
        places[place].start(rig);
        QCoreApplication::processEvents();
        rig.meter.watch({});

        QVERIFY2(happened, "the wait did not come");
        // The polling lost the link while the question was up, and came back.
        QVERIFY(rig.sawLinkLost || disturbance != Disturbance::PullCable || !request.isEmpty());
        QVERIFY(pollingWhileAsked && !rig.loggerFeature().exchange().busy());
        QVERIFY(rig.showsLaterReading() && rig.polling());
        QCOMPARE(rig.panel->LBLCOMM->text(), QStringLiteral("Com1"));
        QVERIFY(rig.panel->CMDMEMORY->isEnabled() || rig.window().isLoaded());

        // The views still open show the new reading.
        rig.panel->Timer3->fire();
        if (graphs::G_GRAPH *graph = rig.views().graph()) {
            QCOMPARE(graph->Text1->text(), QStringLiteral("4.321"));
            QCOMPARE(graph->chart().lastRange(), rig.panel->LBLRAN->text());
        }
        // (A lost device ends the recording, and with it the list's feed.)
        if (views::LIST *list = rig.views().list(); list && rig.shared.listFeedOn == 1)
            QVERIFY(list->Lbl[std::size_t(list->rows().rowNext())]->text().endsWith(QLatin1String("04.321")));

        rig.panel->Timer4->fire();
        rig.panel->CMDSTOP->click();
        testsupport::verifyRecordedFile(rig.dir.filePath("rec.dat"));
    }
};

QTEST_MAIN(WaitsTest)
#include "tst_waits.moc"
