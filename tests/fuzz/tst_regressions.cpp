// Every seed and every kept finding of the fuzz targets, replayed through
// the targets' checks in the normal build: an input that once crashed or
// broke a check must keep passing. Also a few hand-made inputs of each
// kind (cut short, corrupt) that the checks must pass too.

#include "fuzz/simulatedline.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

using Check = QString (*)(QByteArrayView);

struct Target
{
    const char *name;
    Check check;
};

const Target targets[] = {
    {"live", fuzz::checkLive},
    {"datafile", fuzz::checkDataFile},
    {"loggerreplies", fuzz::checkLoggerReplies},
    {"download", fuzz::checkDownload},
};

const QString fuzzDir = QStringLiteral(METERLINK_FUZZ_DIR);

QStringList inputFiles(const QString &kind, const char *target)
{
    QDir folder(fuzzDir + u'/' + kind + u'/' + QLatin1String(target));
    QStringList files;
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
        files << folder.filePath(name);
    return files;
}

} // namespace

class RegressionsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keptInputs_data();
    void keptInputs();
    void handMadeInputs_data();
    void handMadeInputs();
    void everyTargetHasSeeds();
};

void RegressionsTest::keptInputs_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("file");
    for (int t = 0; t < int(std::size(targets)); ++t) {
        for (const char *kind : {"corpus", "regressions"}) {
            for (const QString &file : inputFiles(QLatin1String(kind), targets[t].name)) {
                const QString row = QStringLiteral("%1/%2/%3")
                                        .arg(QLatin1String(kind), QLatin1String(targets[t].name),
                                             QFileInfo(file).fileName());
                QTest::newRow(qPrintable(row)) << t << file;
            }
        }
    }
}

void RegressionsTest::keptInputs()
{
    QFETCH(int, target);
    QFETCH(QString, file);
    QFile input(file);
    QVERIFY2(input.open(QIODevice::ReadOnly), qPrintable(input.errorString()));
    const QByteArray bytes = input.readAll();
    const QString finding = targets[target].check(bytes);
    QVERIFY2(finding.isEmpty(), qPrintable(finding));
}

void RegressionsTest::handMadeInputs_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QByteArray>("input");
    const QByteArray frame("\x02\x80\x12\x34\x50\x08\x03", 7);
    // live: 2 control bytes, then the stream.
    QTest::newRow("live: nothing at all") << 0 << QByteArray();
    QTest::newRow("live: a start byte and silence") << 0 << QByteArray("\x00\x00\x02", 3);
    QTest::newRow("live: frame cut after 4 bytes") << 0 << QByteArray("\x00\x00", 2) + frame.left(4);
    QTest::newRow("live: wrong end byte, then a frame")
        << 0 << QByteArray("\x00\x00", 2) + frame.left(6) + '\x04' + frame;
    QTest::newRow("live: start bytes only") << 0 << QByteArray("\x05\x00", 2) + QByteArray(40, '\x02');
    QTest::newRow("live: non-BCD value bytes")
        << 0 << QByteArray("\x0F\x00\x02\x42\xAF\xFA\xFF\x19\x03", 9);
    QTest::newRow("live: unknown code first") << 0 << QByteArray("\x00\x00\x02\x26\x12\x34\x56\x00\x03", 9);
    QTest::newRow("live: frame across midnight, a byte every 150 ms")
        << 0 << QByteArray("\xF0\x80", 2) + frame;
    // datafile: the file's bytes.
    QTest::newRow("datafile: empty file") << 1 << QByteArray();
    QTest::newRow("datafile: quote never closed") << 1 << QByteArray("\"1\t2\t3\r\n");
    QTest::newRow("datafile: lone CR and LF") << 1 << QByteArray("a\rb\nc\r\n\r\n");
    QTest::newRow("datafile: NUL bytes and high bytes") << 1 << QByteArray("1\t\x00\xff\t\x80\r\n", 8);
    QTest::newRow("datafile: only blanks and commas") << 1 << QByteArray("   ,  ,,\r\n ");
    QTest::newRow("datafile: more than eight cells") << 1 << QByteArray("1\t2\t3\t4\t5\t6\t7\t8\t9\t10\r\n");
    // loggerreplies: pace byte, then length-prefixed replies.
    QTest::newRow("loggerreplies: meter silent") << 2 << QByteArray("\x0F", 1);
    QTest::newRow("loggerreplies: 11-byte status each time")
        << 2 << QByteArray("\x0F", 1) + (QByteArray(1, '\0') + '\x0B' + QByteArray(11, '\x01')).repeated(3);
    QTest::newRow("loggerreplies: memory code 0")
        << 2 << QByteArray("\x0F\x00\x0A", 3) + QByteArray(10, '\0') + QByteArray("\x01\x00", 2);
    QTest::newRow("loggerreplies: 255 sets, directory cut short")
        << 2 << QByteArray("\x0F\x00\x0A", 3) + QByteArray(10, '\0') + QByteArray("\x01\x02\x01\xFF\x00\x7F", 6)
                    + QByteArray(127, '\x99');
    QTest::newRow("loggerreplies: non-BCD clock of 7 bytes")
        << 2 << QByteArray("\x0F", 1) + QByteArray(9, '\0') // 3 failed openings, NO.S OF SET silent
               + '\x07' + QByteArray(7, '\xFA');
    // download: expected records (2 bytes), flags, then the "K" reply.
    const QByteArray header("\x00\x02\x28\x23\x59\x55\x00\x00\x00\x05\x00\x00", 12);
    const QByteArray record("\x42\x01\x23\x40\x09", 5);
    QTest::newRow("download: nothing expected") << 3 << QByteArray(3, '\0');
    QTest::newRow("download: meter silent") << 3 << QByteArray("\x00\x03\x00", 3);
    QTest::newRow("download: header only") << 3 << QByteArray("\x00\x01\x00", 3) + header;
    QTest::newRow("download: cut inside a record")
        << 3 << QByteArray("\x00\x02\x00", 3) + header + record + record.left(2);
    QTest::newRow("download: more bytes than expected")
        << 3 << QByteArray("\x00\x01\xF0", 3) + header + record + record + "garbage";
    QTest::newRow("download: unknown code, non-BCD value")
        << 3 << QByteArray("\x00\x02\x00", 3) + header + QByteArray("\x26\xAB\xCD\xEF\x0F\xC3\xFF\xFF\xFF\x05", 10);
    QTest::newRow("download: corrupt header, month 13 day 99 hour 99")
        << 3 << QByteArray("\x00\x03\x00", 3)
               + QByteArray("\x99\x13\x99\x99\x99\x99\xFF\xFF\xFF\xFF\xFF\xFF", 12) + record.repeated(3);
    QTest::newRow("download: every status bit, last set, valueByteFlag")
        << 3 << QByteArray("\x00\x02\x03", 3) + header + QByteArray("\xC0\x00\x00\x00\xFF\x20\x99\x99\x99\xFF", 10);
}

void RegressionsTest::handMadeInputs()
{
    QFETCH(int, target);
    QFETCH(QByteArray, input);
    const QString finding = targets[target].check(input);
    QVERIFY2(finding.isEmpty(), qPrintable(finding));
}

void RegressionsTest::everyTargetHasSeeds()
{
    for (const Target &target : targets)
        QVERIFY2(!inputFiles(QStringLiteral("corpus"), target.name).isEmpty(), target.name);
}

QTEST_GUILESS_MAIN(RegressionsTest)
#include "tst_regressions.moc"
