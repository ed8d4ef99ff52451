#include "recording/listprintout.h"
#include "support/recordingprinter.h"
#include "support/scriptedclock.h"
#include "support/scriptedpump.h"

#include <QGuiApplication>
#include <QTest>

using recording::PrintOutcome;
using recording::RecordListModel;

namespace {

const QStringList captionLines{
    QStringLiteral("         Date        Time     Value   Unit       Range      A/D  Bat"),
    QStringLiteral("       --------    --------  -------- ---------  --------   ---  ---")};

RecordListModel::Cells cellsOf(const QStringList &texts, QList<QByteArray> &storage)
{
    RecordListModel::Cells cells{};
    for (int i = 0; i < texts.size() && i < RecordListModel::ColumnCount; ++i) {
        storage.append(texts[i].toLatin1());
        cells[std::size_t(i)] = QLatin1StringView(storage.back());
    }
    return cells;
}

void fill(RecordListModel &list, int records)
{
    for (int row = 1; row <= records; ++row)
        list.appendRow({QString::number(row), QStringLiteral("26-05-31"), QStringLiteral("14:03:07"),
                        QStringLiteral(" 1.234"), QStringLiteral("V"), QStringLiteral("5 V"),
                        QStringLiteral("DC"), QString()});
}

struct Rig
{
    testsupport::ScriptedClock clock;
    testsupport::ScriptedPump pump{clock};
};

} // namespace

class ListPrintoutTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void buildsTheLines_data();
    void buildsTheLines();
    void printsCaptionsAndRecords();
    void goesOnOverPages();
    void letsEventsRunWithoutPausing();
    void reportsTheOutcome_data();
    void reportsTheOutcome();
    void stopsWhenTheListIsCleared();
    void stopsWhenTheProgramEnds();
};

void ListPrintoutTest::buildsTheLines_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("line");
    QTest::newRow("recorded value takes 9 characters")
        << QStringList{"1", "26-05-31", "14:03:07", " 1.234", "V", "5 V", "DC", ""}
        << "1      26-05-31    14:03:07   1.234   V          5 V         DC        ";
    QTest::newRow("low battery and overload")
        << QStringList{"86400", "26-06-01", "23:59:59", "   OL  ", "Frequency", "5M Hz", "", "Low"}
        << "86400  26-06-01    23:59:59     OL    Frequency  5M Hz            Low  ";
    QTest::newRow("cells exactly as wide as their columns")
        << QStringList{"1234567", "123456789012", "1234567890", "123456789", "12345678901",
                       "123456789012", "12345", "12345"}
        << "1234567123456789012123456789012345678912345678901123456789012" "1234512345";
    QTest::newRow("longer cell printed whole")
        << QStringList{"12345678", "d", "t", "v", "u", "r", "BEEP!!", "b"}
        << "12345678d           t         v        u          r           BEEP!!b    ";
    QTest::newRow("empty row") << QStringList{} << QString(71, QLatin1Char(' '));
}

void ListPrintoutTest::buildsTheLines()
{
    QFETCH(QStringList, cells);
    QFETCH(QString, line);
    QList<QByteArray> storage;
    storage.reserve(RecordListModel::ColumnCount);
    QCOMPARE(recording::printoutLine(cellsOf(cells, storage)), line);
    QCOMPARE(recording::printoutCaptionLines(), captionLines);
}

void ListPrintoutTest::printsCaptionsAndRecords()
{
    Rig rig;
    RecordListModel list;
    list.appendFileText("1\t26-05-31\t14:03:07\t 1.234\tV\t5 V\tDC\t\r\n"
                        "2\t26-05-31\t14:03:09\t-0.012\tV\t5 V\tDC\tLow\r\n");
    testsupport::RecordingPrinter printer;
    const PrintOutcome outcome = recording::printRecordList(list, printer, rig.pump, "MEMORYLIST");
    QCOMPARE(outcome.status, PrintOutcome::Status::Printed);
    QCOMPARE(outcome.linesPrinted, 2);
    QVERIFY(printer.ended());
    QCOMPARE(printer.documentName(), QStringLiteral("MEMORYLIST"));
    const QStringList records{
        "1      26-05-31    14:03:07   1.234   V          5 V         DC        ",
        "2      26-05-31    14:03:09  -0.012   V          5 V         DC   Low  "};
    QCOMPARE(printer.allTexts(), captionLines + records);
    QVERIFY(printer.texts().at(0).font.fixedPitch());
}

void ListPrintoutTest::goesOnOverPages()
{
    Rig rig;
    RecordListModel list;
    fill(list, 120);
    testsupport::RecordingPrinter printer(testsupport::RecordingPrinter::Setup{100, {827, 400}});
    const PrintOutcome outcome = recording::printRecordList(list, printer, rig.pump, "MEMORYLIST");
    QCOMPARE(outcome.status, PrintOutcome::Status::Printed);
    QVERIFY(printer.pageCount() > 3);
    QCOMPARE(printer.allTexts().size(), 122);
    QCOMPARE(printer.allTexts().last().left(3), QStringLiteral("120"));
    qreal lowest = 0;
    for (const auto &text : printer.texts())
        lowest = std::max(lowest, text.position.y());
    QVERIFY(lowest <= 400);
    QCOMPARE(printer.pageTexts(1).first().left(2), QString::number(printer.pageTexts(0).size() - 1));
}

void ListPrintoutTest::letsEventsRunWithoutPausing()
{
    Rig rig;
    RecordListModel list;
    fill(list, 5);
    testsupport::RecordingPrinter printer;
    QList<qsizetype> printedAtEachStep;
    rig.pump.onStep([&](double) { printedAtEachStep.append(printer.texts().size()); });
    recording::printRecordList(list, printer, rig.pump, "MEMORYLIST");
    QCOMPARE(printedAtEachStep, (QList<qsizetype>{3, 4, 5, 6, 7}));
    QCOMPARE(rig.pump.advanced(), 0.0);
}

void ListPrintoutTest::reportsTheOutcome_data()
{
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<bool>("failLater");
    QTest::addColumn<PrintOutcome::Status>("status");
    QTest::addColumn<QString>("reason");
    QTest::newRow("dialog cancelled") << "" << false << PrintOutcome::Status::Cancelled << "";
    QTest::newRow("printer refuses") << "Printer offline" << false << PrintOutcome::Status::Failed << "Printer offline";
    QTest::newRow("new page fails") << "-" << true << PrintOutcome::Status::Failed << "The printer stopped.";
}

void ListPrintoutTest::reportsTheOutcome()
{
    QFETCH(QString, refusal);
    QFETCH(bool, failLater);
    QFETCH(PrintOutcome::Status, status);
    QFETCH(QString, reason);
    Rig rig;
    RecordListModel list;
    fill(list, 100);
    testsupport::RecordingPrinter printer(testsupport::RecordingPrinter::Setup{100, {827, 300}});
    if (refusal != QLatin1String("-"))
        printer.refuseBegin(refusal);
    if (failLater)
        printer.failFromNowOn();
    const PrintOutcome outcome = recording::printRecordList(list, printer, rig.pump, "MEMORYLIST");
    QCOMPARE(outcome.status, status);
    QCOMPARE(outcome.errorText, reason);
    QVERIFY(outcome.linesPrinted < 100);
}

void ListPrintoutTest::stopsWhenTheListIsCleared()
{
    Rig rig;
    RecordListModel list;
    fill(list, 10);
    testsupport::RecordingPrinter printer;
    rig.pump.onStep([&](double) {
        if (printer.texts().size() == 5)
            list.clear();
    });
    const PrintOutcome outcome = recording::printRecordList(list, printer, rig.pump, "MEMORYLIST");
    QCOMPARE(outcome.status, PrintOutcome::Status::Interrupted);
    QCOMPARE(outcome.linesPrinted, 3);
    QCOMPARE(printer.allTexts().size(), 5);
}

void ListPrintoutTest::stopsWhenTheProgramEnds()
{
    Rig rig;
    RecordListModel list;
    fill(list, 10);
    testsupport::RecordingPrinter printer;
    rig.pump.onStep([&](double) { rig.pump.setEnding(true); });
    const PrintOutcome outcome = recording::printRecordList(list, printer, rig.pump, "MEMORYLIST");
    QCOMPARE(outcome.status, PrintOutcome::Status::Interrupted);
    QCOMPARE(outcome.linesPrinted, 1);
}

QTEST_MAIN(ListPrintoutTest)
#include "tst_listprintout.moc"
