// Every seed and kept finding of the fuzz targets, replayed through their
// checks: an input that once crashed or broke a check must keep passing.

#include "fuzz/simulatedline.h"

#include <QDirIterator>
#include <QTest>

class RegressionsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keptInputs_data()
    {
        QTest::addColumn<QString>("file");
        const QString root = QStringLiteral(METERLINK_FUZZ_DIR "/");
        for (const char *target : {"live", "datafile", "loggerreplies", "download"}) {
            QVERIFY2(!QDir(root + "corpus/" + target).isEmpty(QDir::Files), target);
            for (const QString &kind : {root + "corpus/", root + "regressions/"})
                for (QDirIterator it(kind + target, QDir::Files); it.hasNext();)
                    QTest::newRow(qPrintable(it.next().mid(root.size()))) << it.filePath();
        }
    }
    void keptInputs()
    {
        QFETCH(QString, file);
        QFile input(file);
        QVERIFY2(input.open(QIODevice::ReadOnly), qPrintable(input.errorString()));
        const auto check = file.contains(u"/live/")       ? fuzz::checkLive
                           : file.contains(u"/datafile/") ? fuzz::checkDataFile
                           : file.contains(u"/download/") ? fuzz::checkDownload
                                                          : fuzz::checkLoggerReplies;
        const QString finding = check(input.readAll());
        QVERIFY2(finding.isEmpty(), qPrintable(finding));
    }
};

QTEST_GUILESS_MAIN(RegressionsTest)
#include "tst_regressions.moc"
