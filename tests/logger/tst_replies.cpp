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
    void memoryTexts_data();
    void memoryTexts();
    void directory_data();
    void directory();
    void setsCompleted_data();
    void setsCompleted();
};

void RepliesTest::bcdValue_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("value");
    QTest::newRow("0x25") << 0x25 << 25;
    QTest::newRow("0x99") << 0x99 << 99;
    QTest::newRow("low nibble not a digit 0x1A") << 0x1A << 1;
    QTest::newRow("high nibble not a digit 0xA5") << 0xA5 << 0;
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

    QTest::newRow("largest values")
        << statusBytes(65535, 0xFFFFFFFFu, 65535) << true << 65535 << 0xFFFFFFFFu << 65535;
    QTest::newRow("unused bytes ignored")
        << bytesOf({0, 7, 0xAA, 0xBB, 0, 0, 1, 0, 0, 30}) << true << 7 << 256u << 30;
    QTest::newRow("11 bytes") << statusBytes(1, 2, 3) + '\0' << false << 0 << 0u << 0;
    QTest::newRow("9 bytes") << statusBytes(1, 2, 3).left(9) << false << 0 << 0u << 0;
}

void RepliesTest::statusBlock()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, valid);
    QFETCH(int, idCode);
    QFETCH(uint, bytesInUse);
    QFETCH(int, sampling);
    const auto block = logger::parseStatusBlock(reply);
    QCOMPARE(block.has_value(), valid);
    if (block)
        QCOMPARE(*block, (logger::StatusBlock{quint16(idCode), bytesInUse, quint16(sampling)}));
}

void RepliesTest::memoryTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<uint>("bytesInUse");
    QTest::addColumn<QString>("size"); // empty: invalid code
    QTest::addColumn<QString>("remaining");
    QTest::newRow("code 0") << 0 << 0u << QString() << QString();
    QTest::newRow("code 5") << 5 << 0u << QString() << QString();
    QTest::newRow("96 K used of 128 K") << 2 << 98304u << "128 K" << "32.0 K";
    QTest::newRow("one set header of 256 K") << 4 << 12u << "256 K" << "256.0 K";
    QTest::newRow("a quarter K left rounds up") << 1 << 65280u << "64 K" << ".3 K";
    QTest::newRow("all used") << 3 << 196608u << "192 K" << ".0 K";
    QTest::newRow("more used than there is") << 1 << 70000u << "64 K" << "-4.4 K";
}

void RepliesTest::memoryTexts()
{
    QFETCH(int, code);
    QFETCH(uint, bytesInUse);
    QFETCH(QString, size);
    QFETCH(QString, remaining);
    const auto sizeK = logger::memorySizeK(code);
    QCOMPARE(sizeK.has_value(), !size.isEmpty());
    if (!sizeK)
        return;
    QCOMPARE(logger::memorySizeText(*sizeK), size);
    QCOMPARE(logger::remainingText(*sizeK, bytesInUse), remaining);
}

void RepliesTest::directory_data()
{
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<int>("setCount");
    QTest::addColumn<QList<int>>("records"); // of the entries held whole
    QTest::addColumn<QStringList>("rows");

    const QByteArray two = entryBytes({0x00, 0x02, 0x28, 0x23, 0x59, 0x55}, 20)
                           + entryBytes({0x24, 0x12, 0x01, 0x07, 0x05, 0x09}, 0x0132);
    const QString first = QStringLiteral("1\t00-02-28----23:59:55");
    QTest::newRow("two sets") << two << 2 << QList<int>{20, 306}
                              << QStringList{first, "2\t24-12-01----07:05:09"};
    QTest::newRow("fewer sets than entries")
        << two << 1 << QList<int>{20, 306} << QStringList{first};
    QTest::newRow("second entry cut short")
        << two.left(23) << 2 << QList<int>{20} << QStringList{first};
    QTest::newRow("empty") << QByteArray() << 1 << QList<int>{} << QStringList{};
}

void RepliesTest::directory()
{
    QFETCH(QByteArray, directory);
    QFETCH(int, setCount);
    QFETCH(QList<int>, records);
    QFETCH(QStringList, rows);
    QCOMPARE(logger::directoryRows(directory, setCount), rows);
    QVERIFY(!logger::directoryEntry(directory, 0));
    for (int set = 1; set <= records.size() + 1; ++set) {
        const auto entry = logger::directoryEntry(directory, set);
        QCOMPARE(entry.has_value(), set <= records.size());
        if (entry)
            QCOMPARE(entry->records, records.at(set - 1));
    }
}

void RepliesTest::setsCompleted_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
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
