#include "platform/qt/qtprinter.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Page objects in a PDF file ("/Type /Page", not "/Type /Pages").
qsizetype pdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-z])"));
    return QString::fromLatin1(pdf).count(page);
}

} // namespace

class TestQtPrinter : public QObject
{
    Q_OBJECT

private slots:
    void printsToPdf_data();
    void printsToPdf();
    void unwritableFileIsReported();
    void stoppedJobLeavesNoPdf_data();
    void stoppedJobLeavesNoPdf();
};

void TestQtPrinter::printsToPdf_data()
{
    QTest::addColumn<int>("pages");
    QTest::newRow("one page") << 1;
    QTest::newRow("three pages") << 3;
}

void TestQtPrinter::printsToPdf()
{
    QFETCH(int, pages);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("list.pdf");

    auto job = platform::QtPrinter::toPdf(file);
    QPainter *painter = job->begin("RECORDS");
    QVERIFY2(painter, qPrintable(job->errorText()));
    QVERIFY(job->resolution() > 0);
    QVERIFY(job->pageRect().width() > 0 && job->pageRect().height() > 0);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            QVERIFY(job->newPage());
        painter->drawText(QPointF(100, 200), QStringLiteral("REC     DATE"));
    }
    QVERIFY(!job->begin("B")); // one document at a time
    QVERIFY(!job->errorText().isEmpty());
    QVERIFY(job->end());

    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray content = pdf.readAll();
    QVERIFY(content.startsWith("%PDF"));
    QCOMPARE(pdfPageCount(content), pages);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.pdf"});
}

void TestQtPrinter::unwritableFileIsReported()
{
    const QString file = "/nonexistent-meterlink-folder/list.pdf";
    auto job = platform::QtPrinter::toPdf(file);
    QVERIFY(!job->begin("RECORDS"));
    QVERIFY2(job->errorText().contains(file), qPrintable(job->errorText()));
    QVERIFY(!job->newPage());
    QVERIFY(!job->end());
}

// A job stopped part way (aborted, or dropped before its end) leaves no
// PDF, and an older file of the same name as it was.
void TestQtPrinter::stoppedJobLeavesNoPdf_data()
{
    QTest::addColumn<QByteArray>("before"); // empty: no file
    QTest::addColumn<bool>("dropped");      // destroyed instead of aborted
    QTest::newRow("aborted") << QByteArray() << false;
    QTest::newRow("dropped") << QByteArray() << true;
    QTest::newRow("aborted over an older PDF") << QByteArray("%PDF older") << false;
}

void TestQtPrinter::stoppedJobLeavesNoPdf()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, dropped);
    QTemporaryDir dir;
    const QString file = dir.filePath("list.pdf");
    if (!before.isEmpty()) {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(before) == before.size());
    }
    auto job = platform::QtPrinter::toPdf(file);
    QPainter *painter = job->begin("RECORDS");
    QVERIFY2(painter, qPrintable(job->errorText()));
    painter->drawText(QPointF(100, 200), QStringLiteral("REC     DATE"));
    QVERIFY(job->newPage());
    if (dropped)
        job.reset();
    else
        job->abort();

    QFile pdf(file);
    QCOMPARE(pdf.open(QIODevice::ReadOnly) ? pdf.readAll() : QByteArray(), before);
    const QStringList left = before.isEmpty() ? QStringList{} : QStringList{"list.pdf"};
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), left);
}

QTEST_MAIN(TestQtPrinter)
#include "tst_qtprinter.moc"
