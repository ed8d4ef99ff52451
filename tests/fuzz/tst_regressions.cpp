// Every seed and every kept finding of the fuzz targets, replayed through
// the targets' checks in the normal build: an input that once crashed or
// broke a check must keep passing. The seeds include hand-made inputs of
// each kind (empty, cut short, corrupt), named for what they hold.

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

void RegressionsTest::everyTargetHasSeeds()
{
    for (const Target &target : targets)
        QVERIFY2(!inputFiles(QStringLiteral("corpus"), target.name).isEmpty(), target.name);
}

QTEST_GUILESS_MAIN(RegressionsTest)
#include "tst_regressions.moc"
