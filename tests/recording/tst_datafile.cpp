#include "recording/datafileformat.h"
#include "recording/datafileitems.h"

#include <QTest>

using recording::PanelTexts;

namespace {

QByteArrayList itemsOf(const QByteArray &text)
{
    std::vector<recording::ItemSpan> spans;
    recording::splitItems(text, spans);
    QByteArrayList items;
    for (const auto &span : spans)
        items.append(text.mid(span.begin, span.length));
    return items;
}

QDateTime at(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

} // namespace

class DataFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void normalisesTheValue_data();
    void normalisesTheValue();
    void buildsTheRecordedLine_data();
    void buildsTheRecordedLine();
    void buildsTheQuotedLine_data();
    void buildsTheQuotedLine();
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
    QTest::newRow("positive keeps its digits") << "01.234" << " 01.234";
    QTest::newRow("negative unchanged") << "-1.5" << "-1.5";
    QTest::newRow("negative zero counts as zero") << "-0.000" << " -0.000";
    QTest::newRow("empty text counts as 0") << "" << " ";
    QTest::newRow("text without a number") << "abc" << " abc";
    QTest::newRow("overload with a blank is not the mark") << " OL" << "  OL";
    QTest::newRow("lower case is not the mark") << "ol" << " ol";
}

void DataFileTest::normalisesTheValue()
{
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QCOMPARE(recording::normaliseValue(shown), stored);
}

void DataFileTest::buildsTheRecordedLine_data()
{
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<PanelTexts>("texts");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("no low battery ends with a tab")
        << 12 << at(2026, 5, 31, 14, 3, 7) << PanelTexts{"1.234", "V", "5 V", "DC", ""}
        << QByteArray("12\t26-05-31\t14:03:07\t 1.234\tV\t5 V\tDC\t\r\n");
    QTest::newRow("low battery ends with Low")
        << 13 << at(2026, 5, 31, 14, 3, 9) << PanelTexts{"-0.012", "V", "5 V", "DC", "LOW BATTERY"}
        << QByteArray("13\t26-05-31\t14:03:09\t-0.012\tV\t5 V\tDC\tLow\r\n");
    QTest::newRow("padded date and time, empty A/D")
        << 1 << at(2009, 1, 5, 7, 8, 9) << PanelTexts{"OL", "Ohm", "50M Ohm", "", ""}
        << QByteArray("1\t09-01-05\t07:08:09\t   OL  \tOhm\t50M Ohm\t\t\r\n");
    QTest::newRow("midnight and the largest count")
        << 2147483647 << at(2000, 12, 31, 0, 0, 0) << PanelTexts{"-OL", "mV", "500 mV", "AC", ""}
        << QByteArray("2147483647\t00-12-31\t00:00:00\t  -OL  \tmV\t500 mV\tAC\t\r\n");
    QTest::newRow("link lost: empty reading")
        << 7 << at(2024, 2, 29, 23, 59, 59) << PanelTexts{"", "", "", "", ""}
        << QByteArray("7\t24-02-29\t23:59:59\t \t\t\t\t\r\n");
}

void DataFileTest::buildsTheRecordedLine()
{
    QFETCH(qint32, number);
    QFETCH(QDateTime, now);
    QFETCH(PanelTexts, texts);
    QFETCH(QByteArray, line);
    QCOMPARE(recording::recordedLine(recording::recordedRecord(number, now, texts)), line);
}

void DataFileTest::buildsTheQuotedLine_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("eight cells") << QStringList{"1", "26-05-31", "14:03:07", " 1.234", "V", "5 V", "DC", ""}
                                 << QByteArray("\"1\t26-05-31\t14:03:07\t 1.234\tV\t5 V\tDC\t\t\"\r\n");
    QTest::newRow("no cells") << QStringList{} << QByteArray("\"\"\r\n");
    QTest::newRow("non-ASCII as one byte") << QStringList{QStringLiteral("\u00b5A")}
                                           << QByteArray("\"\xb5" "A\t\"\r\n");
}

void DataFileTest::buildsTheQuotedLine()
{
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, line);
    QCOMPARE(recording::quotedLine(cells), line);
}

void DataFileTest::splitsItems_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArrayList>("items");
    QTest::newRow("CR LF lines") << QByteArray("1\ta\tb\r\n2\tc\r\n") << QByteArrayList{"1\ta\tb", "2\tc"};
    QTest::newRow("LF lines") << QByteArray("1\ta\tb\n2\tc\n") << QByteArrayList{"1\ta\tb", "2\tc"};
    QTest::newRow("CR lines") << QByteArray("1\ta\r2\tc\r") << QByteArrayList{"1\ta", "2\tc"};
    QTest::newRow("no last line end") << QByteArray("1\ta\r\n2\tc") << QByteArrayList{"1\ta", "2\tc"};
    QTest::newRow("empty file") << QByteArray() << QByteArrayList{};
    QTest::newRow("empty line") << QByteArray("a\r\n\r\nb\r\n") << QByteArrayList{"a", "", "b"};
    QTest::newRow("empty line at the end") << QByteArray("a\r\n\r\n") << QByteArrayList{"a", ""};
    QTest::newRow("comma splits") << QByteArray("a,b\r\n") << QByteArrayList{"a", "b"};
    QTest::newRow("comma before the line end") << QByteArray("a,\r\nb") << QByteArrayList{"a", "", "b"};
    QTest::newRow("comma at the end of the file") << QByteArray("a,") << QByteArrayList{"a"};
    QTest::newRow("blanks before an item") << QByteArray("   a, b\r\n") << QByteArrayList{"a", "b"};
    QTest::newRow("blank-only line") << QByteArray("  \r\nx") << QByteArrayList{"", "x"};
    QTest::newRow("tab is not a blank") << QByteArray("\ta\r\n") << QByteArrayList{"\ta"};
    QTest::newRow("trailing blanks kept") << QByteArray("a  \r\n") << QByteArrayList{"a  "};
    QTest::newRow("quoted") << QByteArray("\"1\ta\t\"\r\n") << QByteArrayList{"1\ta\t"};
    QTest::newRow("quoted keeps commas") << QByteArray("\"a,b\"\r\n") << QByteArrayList{"a,b"};
    QTest::newRow("rest after the quote skipped") << QByteArray("\"x\"junk,y\r\n") << QByteArrayList{"x", "y"};
    QTest::newRow("blank before a quote") << QByteArray("  \"q\"\r\n") << QByteArrayList{"q"};
    QTest::newRow("quote inside a plain item") << QByteArray("a\"b\r\n") << QByteArrayList{"a\"b"};
    QTest::newRow("empty quotes") << QByteArray("\"\"\r\n") << QByteArrayList{""};
    QTest::newRow("corrupt: no closing quote") << QByteArray("\"abc\r\nd\r\n") << QByteArrayList{"abc", "d"};
    QTest::newRow("corrupt: quote at the end") << QByteArray("\"") << QByteArrayList{""};
    QTest::newRow("truncated line") << QByteArray("1\t26-0") << QByteArrayList{"1\t26-0"};
    QTest::newRow("NUL bytes are text") << QByteArray("a\0b\r\n", 5) << QByteArrayList{QByteArray("a\0b", 3)};
}

void DataFileTest::splitsItems()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArrayList, items);
    QCOMPARE(itemsOf(text), items);
}

void DataFileTest::shiftsItemsByTheirOffset()
{
    std::vector<recording::ItemSpan> spans{{0, 3}};
    recording::splitItems("ab\r\ncd", spans, 100);
    const std::vector<recording::ItemSpan> expected{{0, 3}, {100, 2}, {104, 2}};
    QVERIFY(spans == expected);
}

QTEST_GUILESS_MAIN(DataFileTest)
#include "tst_datafile.moc"
