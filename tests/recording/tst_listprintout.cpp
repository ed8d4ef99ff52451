#include "recording/listprintout.h"
#include "support/recordingprinter.h"
#include "support/scriptedclock.h"
#include "support/scriptedpump.h"

#include <QTest>

using recording::PrintOutcome;
using recording::RecordListModel;
using testsupport::RecordingPrinter;

namespace {

const QStringList captionLines{
    QStringLiteral("         Date        Time     Value   Unit       Range      A/D  Bat"),
    QStringLiteral("       --------    --------  -------- ---------  --------   ---  ---")};

// A list of `records` rows, printed through a scripted pump.
struct Rig
{
    explicit Rig(int records)
    {
        for (int row = 1; row <= records; ++row)
            list.appendRow({QString::number(row), "26-05-31", "14:03:07", " 1.234", "V", "5 V", "DC", ""});
    }
    PrintOutcome print(RecordingPrinter &printer)
    {
        return recording::printRecordList(list, printer, pump, "MEMORYLIST");
    }
    testsupport::ScriptedClock clock;
    testsupport::ScriptedPump pump{clock};
    RecordListModel list;
};

} // namespace

class ListPrintoutTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void buildsTheLines_data();
    void buildsTheLines();
    void goesOnOverPages();
    void reportsTheOutcome_data();
    void reportsTheOutcome();
    void stopsWhenInterrupted_data();
    void stopsWhenInterrupted();
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
    QTest::newRow("longer cell printed whole")
        << QStringList{"12345678", "d", "t", "v", "u", "r", "BEEP!!", "b"}
        << "12345678d           t         v        u          r           BEEP!!b    ";
    QTest::newRow("empty row") << QStringList{} << QString(71, QLatin1Char(' '));
}

void ListPrintoutTest::buildsTheLines()
{
    QFETCH(QStringList, cells);
    QList<QByteArray> storage;
    storage.reserve(RecordListModel::ColumnCount);
    RecordListModel::Cells row{};
    for (int i = 0; i < cells.size(); ++i) {
        storage.append(cells[i].toLatin1());
        row[std::size_t(i)] = QLatin1StringView(storage.back());
    }
    QTEST(recording::printoutLine(row), "line");
}

void ListPrintoutTest::goesOnOverPages()
{
    Rig rig(120);
    RecordingPrinter printer(RecordingPrinter::Setup{100, {827, 400}});
    const PrintOutcome outcome = rig.print(printer);
    QCOMPARE(outcome.status, PrintOutcome::Status::Printed);
    QCOMPARE(outcome.linesPrinted, 120);
    QVERIFY(printer.ended());
    QCOMPARE(printer.documentName(), QStringLiteral("MEMORYLIST"));
    QVERIFY(printer.texts().at(0).font.fixedPitch());
    QVERIFY(printer.pageCount() > 3);
    QCOMPARE(printer.allTexts().size(), 122);
    QCOMPARE(printer.allTexts().mid(0, 3), captionLines + QStringList{
        "1      26-05-31    14:03:07   1.234   V          5 V         DC        "});
    QCOMPARE(printer.allTexts().last().left(3), QStringLiteral("120"));
    for (const auto &text : printer.texts())
        QVERIFY(text.position.y() <= 400);
    QCOMPARE(printer.pageTexts(1).first().left(2), QString::number(printer.pageTexts(0).size() - 1));
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
    Rig rig(100);
    RecordingPrinter printer(RecordingPrinter::Setup{100, {827, 300}});
    if (refusal != QLatin1String("-"))
        printer.refuseBegin(refusal);
    if (failLater)
        printer.failFromNowOn();
    const PrintOutcome outcome = rig.print(printer);
    QTEST(outcome.status, "status");
    QTEST(outcome.errorText, "reason");
    QVERIFY(outcome.linesPrinted < 100);
    QVERIFY(!printer.ended());
    QCOMPARE(printer.aborted(), failLater); // the cut job is not sent
}

// The list is cleared (closed, or filled by a new download) while the print
// dialog is open or while the lines go out, or the program ends: the job is
// aborted, never sent cut short or empty. Rows only added meanwhile leave
// the rows that were asked for, and those are printed.
void ListPrintoutTest::stopsWhenInterrupted_data()
{
    QTest::addColumn<bool>("inDialog");
    QTest::addColumn<QString>("change"); // "clear", "refill", "add", "end"
    QTest::addColumn<PrintOutcome::Status>("status");
    QTest::addColumn<int>("linesPrinted");
    const auto stopped = PrintOutcome::Status::Interrupted;
    QTest::newRow("list closed in the print dialog") << true << "clear" << stopped << 0;
    QTest::newRow("new download in the print dialog") << true << "refill" << stopped << 0;
    QTest::newRow("rows added in the print dialog") << true << "add" << PrintOutcome::Status::Printed << 10;
    QTest::newRow("list closed while printing") << false << "clear" << stopped << 3;
    QTest::newRow("new download while printing") << false << "refill" << stopped << 3;
    QTest::newRow("program ending while printing") << false << "end" << stopped << 1;
}

void ListPrintoutTest::stopsWhenInterrupted()
{
    QFETCH(bool, inDialog);
    QFETCH(QString, change);
    QFETCH(PrintOutcome::Status, status);
    Rig rig(10);
    RecordingPrinter printer;
    const auto act = [&] {
        if (change == QLatin1String("end")) {
            rig.pump.setEnding(true);
            return;
        }
        if (change != QLatin1String("add"))
            rig.list.clear();
        if (change != QLatin1String("clear"))
            rig.list.appendRow({"99", "26-06-01", "00:00:00", " 2.0", "V", "5 V", "DC", ""});
    };
    if (inDialog)
        printer.whileChoosing(act);
    else
        rig.pump.onStep([&](double) {
            if (printer.texts().size() == 2 + (change == QLatin1String("end") ? 1 : 3))
                act();
        });
    const PrintOutcome outcome = rig.print(printer);
    QCOMPARE(outcome.status, status);
    QTEST(outcome.linesPrinted, "linesPrinted");
    QCOMPARE(printer.ended(), status == PrintOutcome::Status::Printed);
    QCOMPARE(printer.aborted(), status != PrintOutcome::Status::Printed);
    if (status == PrintOutcome::Status::Printed)
        QVERIFY(!printer.allTexts().join(u'\n').contains(QLatin1String("99 ")));
}

QTEST_MAIN(ListPrintoutTest)
#include "tst_listprintout.moc"
