// The live views: the dial's needle and scale, and LIST, ANALOG and their
// owner driven through the panel.

#include "common/numbers.h"
#include "graphs/ui/ggraph.h"
#include "link/ui/panel.h"
#include "support/frames.h"
#include "support/panelrig.h"
#include "views/dial.h"
#include "views/dialpicture.h"
#include "views/ui/analog.h"
#include "views/ui/list.h"
#include "views/ui/liveviews.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QColor yellow(255, 255, 0), textColour(0, 0, 128);

// One of the pixels around a point has the colour: lines land within half a pixel.
bool near(const views::DialPicture &picture, double factor, double degrees, const QColor &colour)
{
    const QPointF p = picture.frame().polar(factor, degrees);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (picture.image().pixelColor(qRound(p.x()) + dx, qRound(p.y()) + dy) == colour)
                return true;
    return false;
}

QColor at(const views::DialPicture &picture, double factor, double degrees)
{
    const QPointF p = picture.frame().polar(factor, degrees);
    return picture.image().pixelColor(qRound(p.x()), qRound(p.y()));
}

bool needleAt(const views::DialPicture &picture, double degrees)
{
    return near(picture, 0.5, degrees, Qt::black) && near(picture, 0.9, degrees, Qt::black);
}

// The panel with the views' owner.
struct Rig : testsupport::PanelRig
{
    std::unique_ptr<views::LiveViews> views;

    Rig()
    {
        panel->show();
        views = std::make_unique<views::LiveViews>(*panel);
        panel->LBLTIME->setText(QStringLiteral("10:15:58"));
    }
    // 123.45 on "500 mV" unless told otherwise.
    void meterSends(unsigned char v1 = 0x12, unsigned char v2 = 0x34, unsigned char v3 = 0x50)
    {
        test.port.feed(testsupport::liveFrame(0x80, v1, v2, v3, 0x08));
        panel->Timer6->fire();
    }
    void samplingTick() { panel->Timer3->fire(); }
    const views::DialPicture &dial() const { return views->analog()->picture(); }
    QPoint underPanel() const { return panel->frameGeometry().bottomLeft() + QPoint(0, 1); }
    // The feeds (graph, list, dial), the sampling timer, the list's next row
    // and the graph's sweep ("-": the view is closed).
    QString state() const
    {
        const auto *list = views->list();
        const auto *graph = views->graph();
        return QStringLiteral("feeds %1 %2 %3, sampling %4, list %5 sweep %6")
            .arg(shared.graphFeedOn).arg(shared.listFeedOn).arg(shared.analogOn)
            .arg(panel->Timer3->isEnabled() ? QString::number(panel->Timer3->interval()) : QStringLiteral("off"))
            .arg(list ? QString::number(list->rows().rowNext()) : QStringLiteral("-"))
            .arg(graph ? QString::number(graph->chart().sweep().sweepPos()) : QStringLiteral("-"));
    }
};

QString dated(int line)
{
    const QChar s = common::systemDateSeparator();
    return QStringLiteral("24") + s + QStringLiteral("01") + s + QStringLiteral("15 line %1").arg(line);
}

// Probes: each works out one text from its inputs.
using Probe = QString (*)(const QStringList &);

// LIST fed through steps: "sN" room for N rows (and part of one more), "+N"
// lines up to line N, "e" an empty text (adds nothing), "=text" that text,
// "tS" the clock S seconds after midnight of 2024-01-16. Then the rows that
// fit and each row's line number or text ("/" dates), "-" blank, "*" framed,
// up to the last not blank; "?" marks a row hidden, "!" one framed out of sight.
QString listRows(const QStringList &steps)
{
    Rig rig;
    rig.panel->CMDLIST->click();
    views::LIST *list = rig.views->list();
    int line = 0;
    for (const QString &step : steps) {
        if (step[0] == u's')
            list->resize(list->width(), (step.mid(1).toInt() + 4) * list->rowHeight() - 1);
        for (const int last = step[0] == u'+' ? step.mid(1).toInt() : line; line < last;)
            list->Text1->setText(QStringLiteral("line %1").arg(++line));
        if (step == u'e' || step[0] == u'=')
            list->Text1->setText(step.mid(1));
        if (step[0] == u't') {
            rig.test.clock.setDate(QDate(2024, 1, 16));
            rig.test.clock.setSecondsSinceMidnight(step.mid(1).toDouble());
        }
    }
    QStringList rows{QString::number(list->rows().rowsMax()) + u':'};
    for (int i = 0; i < list->rows().rowCount(); ++i) {
        const QLabel *row = list->Lbl.at(std::size_t(i));
        const QString text = row->text(), n = text.section(u' ', -1);
        rows << (text.trimmed().isEmpty() ? QStringLiteral("-") : text == dated(n.toInt()) ? n : QString(text).replace(common::systemDateSeparator(), u'/'))
                + (row->isVisible() ? "" : "?");
        if (row->frameShape() != QFrame::NoFrame)
            rows.last() += i == 0 || row->geometry().bottom() < list->height() ? u'*' : u'!';
    }
    while (rows.size() > 2 && rows.last() == u'-') // the blank rows at the end
        rows.removeLast();
    return rows.join(u' ');
}

QString needle(const QStringList &readingAndRange)
{
    const auto degrees = views::needleAngle(readingAndRange[0], readingAndRange[1]);
    return degrees ? QString::number(*degrees) : QStringLiteral("none");
}

QString scale(const QStringList &range)
{
    QStringList all;
    for (const views::ScaleNumber &number : views::scaleNumbers(range[0]))
        all << QStringLiteral("%1@%2").arg(number.text).arg(number.degrees);
    return all.join(u',');
}

} // namespace

Q_DECLARE_METATYPE(Probe)

class ViewsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void texts_data();
    void texts();
    void dialPicture();
    void buttonsOpenFeedAndClose();
    void analogFollowsThePanelAndItsLink();
};

void ViewsTest::texts_data()
{
    QTest::addColumn<Probe>("probe");
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QString>("text");
    QTest::newRow("needle: -500 of 500 mV on the last tick") << &needle << QStringList{"-500.00", "500 mV"} << "144";
    QTest::newRow("needle: -OL rests beyond the left end") << &needle << QStringList{"-OL", "500 mV"} << "145";
    QTest::newRow("needle: OL rests beyond the right end") << &needle << QStringList{"OL", "500 mV"} << "35";
    QTest::newRow("needle: twice the range clamped") << &needle << QStringList{"1000.00", "500 mV"} << "35";
    QTest::newRow("needle: leading zeros and sign") << &needle << QStringList{"-01.250", "5 V"} << "103.5";
    QTest::newRow("needle: K range") << &needle << QStringList{"2.500", "5K Ohm"} << "63";
    QTest::newRow("needle: empty range, none") << &needle << QStringList{"0.123", ""} << "none";
    QTest::newRow("needle: OL even without a range") << &needle << QStringList{"OL", "Diode"} << "35";
    QTest::newRow("needle: truncated reading") << &needle << QStringList{"2.", "5 V"} << "68.4";
    QTest::newRow("scale: 5 V") << &scale << QStringList{"5 V"} << "0@90, 2.5@63,-2.5@117, 5@39.6,-5@140.4";
    QTest::newRow("scale: 1000 V") << &scale << QStringList{"1000 V"} << "0@90, 500@63,-500@117, 1000@39.6,-1000@140.4";
    QTest::newRow("scale: no number") << &scale << QStringList{"Diode"} << "0@90, 0@63, 0@117, 0@39.6, 0@140.4";
    const auto list = [](const char *name, const char *steps, const char *rows) {
        QTest::newRow(name) << &listRows << QString::fromLatin1(steps).split(u' ') << QString::fromLatin1(rows);
    };
    list("list: first line in row 1", "s10 +1", "10: - 1*");
    list("list: ten lines fill rows 1 to 10", "s10 +10 e", "10: - 1 2 3 4 5 6 7 8 9 10*");
    list("list: 11th scrolls row 0 out of its blank", "s10 +11", "10: 1 2 3 4 5 6 7 8 9 10 11*");
    list("list: 15 lines keep the newest 11", "s10 +15", "10: 5 6 7 8 9 10 11 12 13 14 15*");
    list("list: rows are made as the window grows", "s10 +3 s20", "20: - 1 2 3*");
    list("list: shrunk, the lines move up", "s10 +8 s5", "5: 3 4 5 6 7 8*");
    list("list: shrunk and full, scrolls", "s10 +8 s5 +9", "5: 4 5 6 7 8 9*");
    list("list: grown again, blank rows below", "s10 +9 s5 s8 +10", "8: 4 5 6 7 8 9 10*");
    list("list: the newest still fits, nothing moves", "s10 +9 s5 s8 +10 s7", "7: 4 5 6 7 8 9 10*");
    list("list: nothing fits, the newest in row 0", "s10 +10 s-1", "-1: 10*");
    list("list: less than nothing fits", "s-2 +2", "-2: 2*");
    // A line's date is that of the moment its own time belongs to.
    const QString line = QStringLiteral("    V    5 V:     1.2");
    const auto datedRow = [&](const char *name, const char *clock, const char *time, const char *date) {
        QTest::newRow(name) << &listRows << QStringList{"s10", clock, u'=' + QString::fromLatin1(time) + line}
                            << QStringLiteral("10: - %1 %2%3*").arg(QLatin1String(date), QLatin1String(time), line);
    };
    datedRow("list: midday", "t43200", "  12:00:00", "24/01/16");
    datedRow("list: yesterday's time just after midnight", "t0.4", "  23:59:59", "24/01/15");
    datedRow("list: a long sampling time, still the evening", "t3600", "  19:00:00", "24/01/15");
    datedRow("list: midnight rounded up a moment early", "t86399.6", "  00:00:00", "24/01/17");
    datedRow("list: no time shown", "t0.4", "  ", "24/01/16");
}

void ViewsTest::texts()
{
    QFETCH(Probe, probe);
    QFETCH(QStringList, input);
    QTEST(probe(input), "text");
}

void ViewsTest::dialPicture()
{
    views::DialPicture picture;
    picture.drawNeedle(63); // before any redraw: harmless
    QVERIFY(picture.image().isNull());
    picture.redraw(QSize(320, 180), QStringLiteral("500 mV"), views::DialLook{QFont(), textColour});
    QCOMPARE(picture.image().size(), QSize(320, 180));
    QCOMPARE(at(picture, 0.5, 100), QColor(255, 255, 128)); // the face
    picture.drawNeedle(90);
    picture.drawNeedle(144);
    struct Probe { const char *what; double factor, degrees; QColor colour; bool present; };
    const Probe probes[] = {
        {"arc at the top", 1.0, 90, textColour, true}, {"arc near its right end", 1.0, 35, textColour, true},
        {"no arc beyond its left end", 1.0, 149, textColour, false}, {"long tick at 144", 1.07, 144, Qt::black, true},
        {"long tick at 63", 1.07, 63, Qt::black, true}, {"middle tick at 49.5", 1.05, 49.5, Qt::black, true},
        {"short tick ends early", 1.05, 38.7, Qt::black, false}, {"short tick at 38.7", 1.02, 38.7, Qt::black, true},
        {"the new needle", 0.5, 144, Qt::black, true}, {"its outer end", 0.9, 144, Qt::black, true},
        {"stops short of the arc", 0.985, 144, Qt::black, false}, {"the old one wiped", 0.5, 90, Qt::black, false}};
    for (const Probe &probe : probes)
        QVERIFY2(near(picture, probe.factor, probe.degrees, probe.colour) == probe.present, probe.what);
    QCOMPARE(at(picture, 0.5, 100), yellow); // the sector wiping it
    picture.drawNeedle(std::nullopt); // no needle still wipes the old one
    QVERIFY(!near(picture, 0.5, 144, Qt::black));
}

void ViewsTest::buttonsOpenFeedAndClose()
{
    Rig rig;
    QCOMPARE(rig.state(), "feeds 0 0 0, sampling off, list - sweep -");
    rig.meterSends();
    for (QPushButton *button : {rig.panel->CMDGRAPH, rig.panel->CMDLIST, rig.panel->CMDANALOG})
        button->click();
    graphs::G_GRAPH *graph = rig.views->graph();
    views::LIST *list = rig.views->list();
    views::ANALOG *analog = rig.views->analog();
    // The graph under the panel, the list beside it when the graph is open, the dial under the list.
    QCOMPARE(graph->frameGeometry().topLeft(), rig.underPanel());
    QCOMPARE(list->frameGeometry().topLeft(), QPoint(rig.panel->frameGeometry().width(), 0));
    QCOMPARE(analog->frameGeometry().topLeft(), QPoint(rig.panel->frameGeometry().left(), list->frameGeometry().bottom() + 1));
    QCOMPARE(analog->Text1->text() + u'|' + analog->Label2->text(), QStringLiteral("123.45|500 mV"));
    rig.samplingTick();
    rig.samplingTick(); // the same value again still makes a reading
    QCOMPARE(rig.state(), "feeds 1 1 -1, sampling 2000, list 2 sweep 1");
    QCOMPARE(graph->Text1->text(), QStringLiteral("123.45"));
    QVERIFY(list->Lbl[2]->text().endsWith(QStringLiteral("   10:15:58    mV    500 mV:     123.45")));
    rig.meterSends(0x25, 0x00, 0x00);
    QVERIFY(needleAt(rig.dial(), 63));
    rig.panel->CMDGRAPH->click(); // again: the same window
    QCOMPARE(rig.views->graph(), graph);

    // STOP ends the list's feed; LIST resumes it into the same list.
    rig.panel->CMDSTOP->setEnabled(true); // as a running recording has it
    rig.panel->CMDSTOP->click();
    rig.samplingTick();
    QCOMPARE(rig.state(), "feeds 1 0 -1, sampling 2000, list 2 sweep 2");
    QVERIFY(list->isVisible());
    rig.panel->CMDLIST->click();
    rig.samplingTick();
    QCOMPARE(rig.views->list(), list);
    QCOMPARE(rig.state(), "feeds 1 1 -1, sampling 2000, list 3 sweep 3");

    // Closed views stop their feed and open again fresh.
    graph->close();
    list->close();
    analog->close();
    QSignalSpy fed(rig.panel.get(), &live::PANEL::listFeed);
    rig.samplingTick();
    QCOMPARE(fed.count(), 0);
    QCOMPARE(rig.state(), "feeds 0 0 0, sampling 2000, list - sweep -");
    rig.panel->CMDLIST->click();
    QCOMPARE(rig.views->list()->frameGeometry().topLeft(), rig.underPanel()); // no graph open now
    rig.panel->CMDGRAPH->click();
    QCOMPARE(rig.state(), "feeds 1 1 0, sampling 2000, list 0 sweep -1");
    rig.panel->CMDANALOG->click();
    rig.panel->close(); // closes the views
    QCOMPARE(rig.state(), "feeds 0 0 0, sampling off, list - sweep -");
}

void ViewsTest::analogFollowsThePanelAndItsLink()
{
    Rig rig;
    rig.panel->CMDANALOG->click(); // before the first reading
    views::ANALOG *analog = rig.views->analog();
    QCOMPARE(analog->frameGeometry().topLeft(), QPoint(rig.panel->frameGeometry().width(), 0)); // beside the panel
    QCOMPARE(analog->Label1->text(), QString());
    const auto show = [&](const char *function, const char *range, const char *value) {
        rig.panel->LBLFUN->setText(function);
        rig.panel->LBLRAN->setText(range);
        rig.panel->LBLVALUE->setText(value);
        analog->Text1->setText(value);
        return analog->Label1->text() + u'|' + analog->Label2->text();
    };
    QCOMPARE(show("mV", "500 mV", "250.00"), QStringLiteral("mV|500 mV"));
    QVERIFY(needleAt(rig.dial(), 63));
    show("mV", "500 mV", "000.00");
    QVERIFY(needleAt(rig.dial(), 90));
    QCOMPARE(at(rig.dial(), 0.5, 63), yellow); // the old needle is wiped
    const QImage before = rig.dial().image();
    analog->Text1->setText(QString()); // an empty reading moves nothing
    QCOMPARE(rig.dial().image(), before);
    QCOMPARE(show("V", "5 V", "2.5000"), QStringLiteral("V|5 V"));
    QVERIFY(needleAt(rig.dial(), 63));
    // Other scale numbers: the outer band differs.
    QVERIFY(before.copy(0, 0, 320, 60) != rig.dial().image().copy(0, 0, 320, 60));
    show("Diode", "Diode", "0.500");
    QVERIFY(!needleAt(rig.dial(), 63)); // no needle on a range without a number

    analog->activateWindow(); // Escape gives the panel the focus
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), analog);
    QTest::keyClick(analog, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), rig.panel.get());

    // No redraw while the link is lost; its resize is drawn once the meter is back, in the same range.
    rig.meterSends(0x25, 0x00, 0x00); // 250.00 mV
    const QImage shown = rig.dial().image();
    rig.panel->LBLCOMM->setText(QStringLiteral(" NO COM "));
    rig.panel->LBLRAN->setText(QStringLiteral("5 V"));
    analog->redraw();
    analog->resize(400, 250);
    QCoreApplication::processEvents();
    QCOMPARE(rig.dial().image(), shown);
    QCOMPARE(analog->Label2->text(), QStringLiteral("500 mV"));
    rig.panel->LBLCOMM->setText(QStringLiteral("Com1"));
    rig.meterSends(0x25, 0x00, 0x00);
    const QImage after = rig.dial().image();
    QCOMPARE(after.size(), QSize(400, 250));
    QVERIFY(needleAt(rig.dial(), 63));
    analog->redraw(); // as a resize with the meter connected draws it
    QCOMPARE(rig.dial().image(), after);
}

QTEST_MAIN(ViewsTest)
#include "tst_views.moc"
