#include "recording/datafileformat.h"
#include "recording/datafileitems.h"
#include "recording/rowindexing.h"

#include <QTest>

using recording::PanelTexts;

class DataFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void normalisesTheValue_data();
    void normalisesTheValue();
    void buildsTheRecordedLine_data();
    void buildsTheRecordedLine();
    void splitsItems_data();
    void splitsItems();
    void shiftsItemsByTheirOffset();
};

void DataFileTest::normalisesTheValue_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("overload") << "OL" << "   OL  ";
    QTest::newRow("negative overload") << "-OL" << "  -OL  ";
    QTest::newRow("zero") << "0.000" << " 0.000";
    QTest::newRow("negative unchanged") << "-1.5" << "-1.5";
    QTest::newRow("empty text counts as 0") << "" << " ";
    QTest::newRow("overload with a blank is not the mark") << " OL" << "  OL";
}

void DataFileTest::normalisesTheValue()
{
    QFETCH(QString, shown);
    QTEST(recording::normaliseValue(shown), "stored");
}

void DataFileTest::buildsTheRecordedLine_data()
{
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<PanelTexts>("texts");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("no low battery ends with a tab")
        << 12 << QDateTime(QDate(2026, 5, 31), QTime(14, 3, 7)) << PanelTexts{"1.234", "V", "5 V", "DC", ""}
        << QByteArray("12\t26-05-31\t14:03:07\t 1.234\tV\t5 V\tDC\t\r\n");
    QTest::newRow("low battery ends with Low")
        << 13 << QDateTime(QDate(2026, 5, 31), QTime(14, 3, 9)) << PanelTexts{"-0.012", "V", "5 V", "DC", "LOW BATTERY"}
        << QByteArray("13\t26-05-31\t14:03:09\t-0.012\tV\t5 V\tDC\tLow\r\n");
    QTest::newRow("padded date and time, overload, empty A/D")
        << 1 << QDateTime(QDate(2009, 1, 5), QTime(7, 8, 9)) << PanelTexts{"OL", "Ohm", "50M Ohm", "", ""}
        << QByteArray("1\t09-01-05\t07:08:09\t   OL  \tOhm\t50M Ohm\t\t\r\n");
    QTest::newRow("link lost: empty reading")
        << 7 << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)) << PanelTexts{"", "", "", "", ""}
        << QByteArray("7\t24-02-29\t23:59:59\t \t\t\t\t\r\n");
}

void DataFileTest::buildsTheRecordedLine()
{
    QFETCH(qint32, number);
    QFETCH(QDateTime, now);
    QFETCH(PanelTexts, texts);
    QTEST(recording::recordedLine(recording::recordedRecord(number, now, texts)), "line");
}

void DataFileTest::splitsItems_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArrayList>("items");
    QTest::newRow("CR LF lines") << QByteArray("1\ta\tb\r\n2\tc\r\n") << QByteArrayList{"1\ta\tb", "2\tc"};
    QTest::newRow("LF and CR lines") << QByteArray("1\ta\n2\tc\r3\n") << QByteArrayList{"1\ta", "2\tc", "3"};
    QTest::newRow("no last line end") << QByteArray("1\ta\r\n2\tc") << QByteArrayList{"1\ta", "2\tc"};
    QTest::newRow("empty file") << QByteArray() << QByteArrayList{};
    QTest::newRow("empty line") << QByteArray("a\r\n\r\nb\r\n") << QByteArrayList{"a", "", "b"};
    QTest::newRow("comma splits") << QByteArray("a,b\r\n") << QByteArrayList{"a", "b"};
    QTest::newRow("comma at the end of the file") << QByteArray("a,") << QByteArrayList{"a"};
    QTest::newRow("blanks before an item, tab is not one") << QByteArray("  a, \tb\r\n") << QByteArrayList{"a", "\tb"};
    QTest::newRow("quoted keeps commas") << QByteArray("\"1\ta,b\t\"\r\n") << QByteArrayList{"1\ta,b\t"};
    QTest::newRow("rest after the quote skipped") << QByteArray("\"x\"junk,y\r\n") << QByteArrayList{"x", "y"};
    QTest::newRow("corrupt: no closing quote") << QByteArray("\"abc\r\nd\r\n") << QByteArrayList{"abc", "d"};
    QTest::newRow("corrupt: quote at the end") << QByteArray("\"") << QByteArrayList{""};
    QTest::newRow("truncated line") << QByteArray("1\t26-0") << QByteArrayList{"1\t26-0"};
    QTest::newRow("NUL bytes are text") << QByteArray("a\0b\r\n", 5) << QByteArrayList{QByteArray("a\0b", 3)};
    QTest::newRow("quoted lines ended by CR alone")
        << QByteArray("\"1\t\"\r\"2\t,\"x\r\n\r\"\"\r\n") << QByteArrayList{"1\t", "2\t,", "", ""};
}

void DataFileTest::splitsItems()
{
    QFETCH(QByteArray, text);
    std::vector<recording::ItemSpan> spans;
    recording::splitItems(text, spans);
    QByteArrayList items;
    for (const auto &span : spans)
        items.append(text.mid(span.begin, span.length));
    QTEST(items, "items");

    // Cut into chunks of any size (each cut moved to the next line end)
    // and split on several threads, the text gives the same rows; each
    // item's end follows from its begin.
    for (qsizetype chunk = 1; chunk <= text.size(); ++chunk) {
        recording::RowStarts starts;
        recording::RowIndexing how;
        how.chunkBytes = chunk;
        QCOMPARE(recording::indexRows(text, how, starts, nullptr), qsizetype(spans.size()));
        for (qsizetype i = 0; i < starts.size(); ++i) {
            const qsizetype begin = starts[i];
            QCOMPARE(text.mid(begin, recording::itemEnd(text, begin) - begin), items[i]);
        }
    }
}

void DataFileTest::shiftsItemsByTheirOffset()
{
    std::vector<recording::ItemSpan> spans{{0, 3}};
    recording::splitItems("ab\r\ncd", spans, 100);
    QVERIFY((spans == std::vector<recording::ItemSpan>{{0, 3}, {100, 2}, {104, 2}}));
}

QTEST_GUILESS_MAIN(DataFileTest)
#include "tst_datafile.moc"
