// Splitting what the program sends into requests: fixed lengths, trailing
// command-buffer bytes, requests split across calls, and the waits.

#include "emulator/requestparser.h"

#include <QtTest>

using emulator::RequestParser;

struct Chunk
{
    double at;
    QByteArray bytes;
};
Q_DECLARE_METATYPE(QList<Chunk>)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace

class TestRequestParser : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
};

void TestRequestParser::split_data()
{
    QTest::addColumn<QList<Chunk>>("chunks");
    QTest::addColumn<QByteArrayList>("requests");

    const QByteArray r134 = bytes({'R', 0, 0, 0, 134});
    QTest::newRow("read buffer of 7, trailing value byte skipped")
        << QList<Chunk>{{0, bytes({'R', 0, 0, 0, 134, ' ', 0})}} << QByteArrayList{r134};
    QTest::newRow("K buffer whose trailing bytes look like requests")
        << QList<Chunk>{{0, bytes({'K', 1, 0, 0, 129, 'A', 0})}, {1, "C"}}
        << QByteArrayList{bytes({'K', 1}), "C"};
    QTest::newRow("W from the panel: 8 bytes, seconds byte a space")
        << QList<Chunk>{{0, bytes({'W', 0, 0, 0, 134, 2, 0x20, 0})}}
        << QByteArrayList{bytes({'W', 0, 0, 0, 134, 2}), bytes({0})};
    QTest::newRow("D buffer then release in the same call")
        << QList<Chunk>{{0, bytes({'D', 0x09, 0x12, 0x31, 0x23, 0x59, 0x59, 0, ' '})}}
        << QByteArrayList{bytes({'D', 0x09, 0x12, 0x31, 0x23, 0x59, 0x59}), " "};
    QTest::newRow("split inside the request")
        << QList<Chunk>{{0, bytes({'R', 0})}, {0.1, bytes({0, 0, 134, 0, 0})}}
        << QByteArrayList{r134};
    QTest::newRow("rest of a request too late: dropped")
        << QList<Chunk>{{0, bytes({'R', 0})}, {0.6, bytes({0, 0, 134})}, {0.7, "Y"}}
        << QByteArrayList{bytes({0}), bytes({0}), bytes({134}), "Y"};
    QTest::newRow("bare request, next one later is not skipped")
        << QList<Chunk>{{0, r134}, {0.2, " "}} << QByteArrayList{r134, " "};
    QTest::newRow("one byte at a time")
        << QList<Chunk>{{0, "K"}, {0.004, bytes({3})}, {0.008, bytes({0})}, {0.012, bytes({0})},
                        {0.016, bytes({128})}, {0.020, bytes({'A'})}, {0.024, bytes({0})},
                        {0.5, " "}}
        << QByteArrayList{bytes({'K', 3}), " "};
}

void TestRequestParser::split()
{
    QFETCH(QList<Chunk>, chunks);
    QFETCH(QByteArrayList, requests);

    RequestParser parser;
    QByteArrayList found;
    for (const Chunk &chunk : chunks)
        found += parser.feed(chunk.bytes, chunk.at);
    QCOMPARE(found, requests);
}

QTEST_APPLESS_MAIN(TestRequestParser)
#include "tst_requestparser.moc"
