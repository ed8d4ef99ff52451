#include "logger/meterclock.h"
#include "logger/setdirectory.h"
#include "logger/statusblock.h"
#include "scriptedmeter.h"

#include <QTest>

using loggertest::bytesOf;
using loggertest::entryBytes;
using loggertest::statusBytes;

class RepliesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bcdValue_data();
    void bcdValue();
    void clockTexts();
    void statusBlock_data();
    void statusBlock();
    void memorySize_data();
    void memorySize();
    void remaining_data();
    void remaining();
    void directoryEntries_data();
    void directoryEntries();
    void directoryRows_data();
    void directoryRows();
    void setsCompleted_data();
    void setsCompleted();
};

void RepliesTest::bcdValue_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("value");
    QTest::newRow("0x25") << 0x25 << 25;
    QTest::newRow("0x09") << 0x09 << 9;
    QTest::newRow("0x99") << 0x99 << 99;
    QTest::newRow("0x00") << 0x00 << 0;
    QTest::newRow("low nibble not a digit 0x1A") << 0x1A << 1;
    QTest::newRow("only a letter 0x0A") << 0x0A << 0;
    QTest::newRow("high nibble not a digit 0xA5") << 0xA5 << 0;
    QTest::newRow("0xFF") << 0xFF << 0;
}

void RepliesTest::bcdValue()
{
    QFETCH(int, byte);
    QFETCH(int, value);
    QCOMPARE(logger::bcdValue(quint8(byte)), value);
    if (byte < 0xA0 && (byte & 0x0F) < 10)
        QCOMPARE(int(logger::bcdByte(value)), byte);
}

void RepliesTest::clockTexts()
{
    const auto clock = logger::meterClockFrom(bytesOf({0x09, 0x12, 0x31, 0x23, 0x05, 0x00, 0x77}));
    QVERIFY(clock);
    QCOMPARE(logger::setStartText(*clock), QStringLiteral("09-12-31----23:05:00"));
    QCOMPARE(logger::meterClockText(*clock), QStringLiteral("09-12-31-----23:05:00"));
}

void RepliesTest::statusBlock_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("idCode");
    QTest::addColumn<uint>("bytesInUse");
    QTest::addColumn<int>("sampling");

    QTest::newRow("ordinary") << statusBytes(1234, 98304, 2) << true << 1234 << 98304u << 2;
    QTest::newRow("largest values")
        << statusBytes(65535, 0xFFFFFFFFu, 65535) << true << 65535 << 0xFFFFFFFFu << 65535;
    QTest::newRow("unused bytes ignored")
        << bytesOf({0, 7, 0xAA, 0xBB, 0, 0, 1, 0, 0, 30}) << true << 7 << 256u << 30;
    QTest::newRow("11 bytes") << statusBytes(1, 2, 3) + '\0' << false << 0 << 0u << 0;
    QTest::newRow("9 bytes") << statusBytes(1, 2, 3).left(9) << false << 0 << 0u << 0;
    QTest::newRow("empty") << QByteArray() << false << 0 << 0u << 0;
}

void RepliesTest::statusBlock()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, valid);
    const auto block = logger::parseStatusBlock(reply);
    QCOMPARE(block.has_value(), valid);
    if (!valid)
        return;
    QFETCH(int, idCode);
    QFETCH(uint, bytesInUse);
    QFETCH(int, sampling);
    QCOMPARE(int(block->idCode), idCode);
    QCOMPARE(block->bytesInUse, bytesInUse);
    QCOMPARE(int(block->samplingTime), sampling);
}

void RepliesTest::memorySize_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text"); // empty: invalid code
    QTest::newRow("0") << 0 << QString();
    QTest::newRow("1") << 1 << "64 K";
    QTest::newRow("2") << 2 << "128 K";
    QTest::newRow("3") << 3 << "192 K";
    QTest::newRow("4") << 4 << "256 K";
    QTest::newRow("5") << 5 << QString();
    QTest::newRow("255") << 255 << QString();
}

void RepliesTest::memorySize()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    const auto size = logger::memorySizeK(code);
    QCOMPARE(size.has_value(), !text.isEmpty());
    if (size)
        QCOMPARE(logger::memorySizeText(*size), text);
}

void RepliesTest::remaining_data()
{
    QTest::addColumn<int>("sizeK");
    QTest::addColumn<uint>("bytesInUse");
    QTest::addColumn<QString>("text");
    QTest::newRow("96 K used of 128 K") << 128 << 98304u << "32.0 K";
    QTest::newRow("nothing used") << 64 << 0u << "64.0 K";
    QTest::newRow("one set header") << 256 << 12u << "256.0 K";
    QTest::newRow("a quarter K left rounds up") << 64 << 65280u << ".3 K";
    QTest::newRow("half a K left") << 64 << 65024u << ".5 K";
    QTest::newRow("all used") << 192 << 196608u << ".0 K";
    QTest::newRow("more used than there is") << 64 << 70000u << "-4.4 K";
}

void RepliesTest::remaining()
{
    QFETCH(int, sizeK);
    QFETCH(uint, bytesInUse);
    QFETCH(QString, text);
    QCOMPARE(logger::remainingText(sizeK, bytesInUse), text);
}

void RepliesTest::directoryEntries_data()
{
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("records"); // -1: no entry

    const QByteArray two = entryBytes({0x24, 0x03, 0x14, 0x08, 0x00, 0x00}, 20)
                           + entryBytes({0x24, 0x03, 0x14, 0x12, 0x30, 0x15}, 0x0132);
    QTest::newRow("first") << two << 1 << 20;
    QTest::newRow("second, high byte") << two << 2 << 306;
    QTest::newRow("beyond") << two << 3 << -1;
    QTest::newRow("set 0") << two << 0 << -1;
    QTest::newRow("cut short") << two.left(23) << 2 << -1;
    QTest::newRow("empty") << QByteArray() << 1 << -1;
}

void RepliesTest::directoryEntries()
{
    QFETCH(QByteArray, directory);
    QFETCH(int, set);
    QFETCH(int, records);
    const auto entry = logger::directoryEntry(directory, set);
    QCOMPARE(entry.has_value(), records >= 0);
    if (entry)
        QCOMPARE(entry->records, records);
}

void RepliesTest::directoryRows_data()
{
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<int>("setCount");
    QTest::addColumn<QStringList>("rows");

    const QByteArray two = entryBytes({0x00, 0x02, 0x28, 0x23, 0x59, 0x55}, 3)
                           + entryBytes({0x24, 0x12, 0x01, 0x07, 0x05, 0x09}, 1);
    QTest::newRow("two sets") << two << 2
                              << QStringList{"1\t00-02-28----23:59:55", "2\t24-12-01----07:05:09"};
    QTest::newRow("none") << two << 0 << QStringList{};
    QTest::newRow("fewer entries than sets")
        << two.left(20) << 2 << QStringList{"1\t00-02-28----23:59:55"};
}

void RepliesTest::directoryRows()
{
    QFETCH(QByteArray, directory);
    QFETCH(int, setCount);
    QFETCH(QStringList, rows);
    QCOMPARE(logger::directoryRows(directory, setCount), rows);
}

void RepliesTest::setsCompleted_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << qint64(0) << "0 SETS COMPLETED";
    QTest::newRow("part of one") << qint64(11) << "0 SETS COMPLETED";
    QTest::newRow("one") << qint64(12) << "1 SETS COMPLETED";
    QTest::newRow("two and a bit") << qint64(25) << "2 SETS COMPLETED";
}

void RepliesTest::setsCompleted()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(logger::setsCompletedText(bytes), text);
}

QTEST_GUILESS_MAIN(RepliesTest)
#include "tst_replies.moc"
