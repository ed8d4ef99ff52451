// Bad files chosen with OPEN FILE: a device that never ends, a named pipe
// nobody writes to, a folder, and files of random or odd bytes. None of
// them crashes or holds the program: the ones that are no data file are
// refused with a message, the others are listed and drawn as a graph.

#include "faults/faultrig.h"

#include "graphs/ui/memorygraph.h"
#include "link/ui/panel.h"
#include "recording/recordlistmodel.h"
#include "recording/ui/memorylist.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include <sys/stat.h>

namespace {

template <typename Window>
Window *topLevel()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<Window *>(window))
            return found;
    }
    return nullptr;
}

enum class Kind { Device, NamedPipe, Folder, Bytes };

bool writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

} // namespace

class BadFilesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openFile_data();
    void openFile();
};

void BadFilesTest::openFile_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("bytes"); // for Kind::Bytes
    QTest::addColumn<bool>("listed");
    QTest::newRow("endless device") << Kind::Device << QByteArray() << false;
    QTest::newRow("named pipe nobody writes to") << Kind::NamedPipe << QByteArray() << false;
    QTest::newRow("a folder") << Kind::Folder << QByteArray() << false;
    QTest::newRow("random bytes") << Kind::Bytes << randomBytes(64 * 1024) << true;
    QTest::newRow("NUL bytes") << Kind::Bytes << QByteArray(4096, '\0') << true;
    QTest::newRow("one long line without a line end") << Kind::Bytes << QByteArray(1 << 20, 'x') << true;
    QTest::newRow("tabs and quotes only")
        << Kind::Bytes << QByteArray("\t\t\t\"\t\"\"\r\n\"\r\n\t\t\t\t\t\t\t\t\t\t\r\n,,,\r\n") << true;
}

void BadFilesTest::openFile()
{
    QFETCH(Kind, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, listed);
    faulttest::FaultRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    live::PANEL &panel = rig.panel();

    QString name;
    switch (kind) {
    case Kind::Device:
        name = QStringLiteral("/dev/zero");
        if (!QFile::exists(name))
            QSKIP("no /dev/zero here");
        break;
    case Kind::NamedPipe:
        name = rig.tempPath(QStringLiteral("pipe.dat"));
        QVERIFY(::mkfifo(QFile::encodeName(name).constData(), 0600) == 0);
        break;
    case Kind::Folder:
        name = rig.tempPath(QString());
        break;
    case Kind::Bytes:
        name = rig.tempPath(QStringLiteral("bad.dat"));
        QVERIFY(writeFile(name, bytes));
        break;
    }

    rig.dialogs.queueOpenFile(name);
    panel.CMDOPEN->click(); // reads the whole file inside the click
    recording::MEMORYLIST *list = topLevel<recording::MEMORYLIST>();
    if (!listed) {
        QCOMPARE(rig.dialogs.messageTexts(), QStringList{QStringLiteral("File ") + name + QStringLiteral(" not exist !")});
        QVERIFY(!list || !list->isVisible());
    } else {
        QVERIFY(rig.dialogs.messages().isEmpty());
        QVERIFY(list && list->isVisible());
        QVERIFY(list->list().recordCount() > 0);
        // GRAPH draws whatever the rows hold (or says there is one record).
        list->MNUGRAPH->trigger();
        auto *graph = topLevel<graphs::MEMORY_GRAPH>();
        QVERIFY(graph);
        QVERIFY(graph->isVisible() || list->list().recordCount() == 1);
        list->close();
    }
    const QString problem = faulttest::checkRecovered(rig, faulttest::Recovery::Live);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_MAIN(BadFilesTest)
#include "tst_badfiles.moc"
