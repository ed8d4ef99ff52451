// SAVE IMAGE of the three graph windows: the file, painted again by the
// window's own routine, shows what the window shows (its dark pixels: the
// trace, and for the live chart everything), at twice the size for PNG.

#include "graphs/ui/ggraph.h"
#include "graphs/ui/memorygraph.h"
#include "graphs/ui/recgraph.h"
#include "link/ui/panel.h"
#include "platform/timer.h"
#include "recording/recordlistmodel.h"
#include "support/testplatform.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The three windows on the same ten rows; `picture` is what the one asked
// for shows, `saveImage` its menu item.
struct Rig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform = test.platform();
    platform::Timer timer6{platform::Timer::Mode::Manual};
    recording::RecordListModel list;
    std::unique_ptr<graphs::StoredGraphWindow> stored;
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<graphs::G_GRAPH> live;
    QImage picture;
    QAction *saveImage = nullptr;

    explicit Rig(const QString &graph)
    {
        for (int row = 1; row <= 10; ++row)
            list.appendRow({QString::number(row), "24-01-15", QStringLiteral("12:00:%1").arg(row + 10),
                            QString::number((row * 37) % 11 * 40), "mV", "500 mV", "DC", ""});
        shared.memFirst = shared.recFirst = 1;
        shared.memLast = shared.recLast = shared.memCount = shared.recCount = 10;
        shared.memMax = shared.scaleMax = 500;
        if (graph == QLatin1String("live"))
            openLive();
        else if (graph == QLatin1String("memory"))
            stored = std::make_unique<graphs::MEMORY_GRAPH>(platform, shared);
        else
            stored = std::make_unique<graphs::REC_GRAPH>(platform, shared, timer6);
        if (stored) {
            stored->setList(&list);
            stored->open();
            picture = stored->picture();
            saveImage = stored->MnuSaveImage;
        }
    }

    void openLive()
    {
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        panel->load();
        panel->LBLRAN->setText(QStringLiteral("500 mV"));
        shared.graphFeedOn = 1;
        live = std::make_unique<graphs::G_GRAPH>(*panel);
        live->load();
        live->show();
        for (int i = 0; i < 30; ++i) {
            panel->LBLVALUE->setText(QString::number(i * 13 % 400));
            live->Text1->setText(QString());
            live->Text1->setText(QStringLiteral("1"));
        }
        picture = live->chart().image();
        saveImage = live->SaveImage;
    }
};

bool dark(QRgb pixel) { return qGray(pixel) < 128; }
bool inked(QRgb pixel) { return qGray(pixel) < 224; } // a smoothed line's edge included

// Dark pixels of `a` inside `region` with no ink of `b` within `slack`
// pixels of the same place (`scale` b-pixels to an a-pixel).
int unmatchedDark(const QImage &a, const QImage &b, double scale, QRect region, int slack)
{
    int unmatched = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            if (!dark(a.pixel(x, y)))
                continue;
            bool found = false;
            const QPoint at(int(x * scale), int(y * scale));
            for (int dy = -slack; dy <= slack && !found; ++dy)
                for (int dx = -slack; dx <= slack && !found; ++dx)
                    found = b.valid(at + QPoint(dx, dy)) && inked(b.pixel(at + QPoint(dx, dy)));
            unmatched += found ? 0 : 1;
        }
    }
    return unmatched;
}

} // namespace

class GraphImageTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void savedImageShowsTheWindow_data();
    void savedImageShowsTheWindow();
    void unwritableFileIsTold();
};

void GraphImageTest::savedImageShowsTheWindow_data()
{
    QTest::addColumn<QString>("graph");
    QTest::addColumn<QString>("suffix");
    for (const char *graph : {"memory", "rec", "live"})
        for (const char *suffix : {"png", "svg", "pdf"})
            QTest::addRow("%s %s", graph, suffix) << graph << suffix;
}

void GraphImageTest::savedImageShowsTheWindow()
{
    QFETCH(QString, graph);
    QFETCH(QString, suffix);
    Rig rig(graph);
    QTemporaryDir dir;
    const QString path = dir.filePath("graph." + suffix);
    rig.test.dialogs.queueSaveFile(path);
    rig.saveImage->trigger();
    QVERIFY(rig.test.dialogs.messages().isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QSize size = rig.picture.size();
    // The stored graphs' plot area, without the labels around it (their
    // glyphs differ at another size).
    const QRect region = rig.live ? rig.picture.rect() : QRect(70, 70, 260, 400);
    QImage copy;
    double scale = 1;
    if (suffix == "pdf") {
        QVERIFY(bytes.startsWith("%PDF-"));
        const auto box = QRegularExpression("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]").match(QString::fromLatin1(bytes));
        QVERIFY(box.hasMatch());
        // Points at 96 pixels an inch; the page is whole points.
        QVERIFY(qAbs(box.captured(1).toDouble() * 4 / 3 - size.width()) < 1.4);
        QVERIFY(qAbs(box.captured(2).toDouble() * 4 / 3 - size.height()) < 1.4);
        return;
    }
    if (suffix == "png") {
        QVERIFY(copy.loadFromData(bytes, "PNG"));
        QCOMPARE(copy.size(), size * 2);
        scale = 2;
    } else {
        QSvgRenderer svg(bytes);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox().size(), size);
        copy = QImage(size, QImage::Format_RGB32);
        copy.fill(Qt::white);
        QPainter painter(&copy);
        svg.render(&painter);
    }
    int darkInWindow = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            darkInWindow += dark(rig.picture.pixel(x, y)) ? 1 : 0;
    QVERIFY2(darkInWindow > 20, "the window shows a trace");
    QCOMPARE(unmatchedDark(rig.picture, copy, scale, region, rig.live ? 0 : 2), 0);
    QCOMPARE(unmatchedDark(copy, rig.picture, 1 / scale, QRect(region.topLeft() * scale, region.size() * scale),
                           rig.live ? 0 : 2),
             0);
}

void GraphImageTest::unwritableFileIsTold()
{
    Rig rig("memory");
    rig.test.dialogs.queueSaveFile("/nonexistent-folder/graph.svg");
    rig.saveImage->trigger();
    QCOMPARE(rig.test.dialogs.messages().size(), 1);
    QVERIFY2(rig.test.dialogs.messages().constFirst().text.startsWith("cannot write to /nonexistent-folder/graph.svg: "),
             qPrintable(rig.test.dialogs.messages().constFirst().text));
    QVERIFY(!QFile::exists("/nonexistent-folder/graph.svg"));
}

QTEST_MAIN(GraphImageTest)
#include "tst_graphimage.moc"
