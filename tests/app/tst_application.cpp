#include "app/application.h"
#include "app/options.h"
#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"
#include "link/ui/panel.h"
#include "link/ui/selection.h"
#include "support/scripteddialogs.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSerialPort>
#include <QTest>
#include <QTimer>

class ApplicationTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void options_data();
    void options();
    void portThatCannotOpenIsReportedAndChoiceShownAgain();
    void closingThePanelEndsTheLinkLostLoopAndReleasesThePort();
};

void ApplicationTest::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("com1");
    QTest::addColumn<QString>("com2");
    QTest::addColumn<int>("select"); // 0: none
    QTest::addColumn<bool>("error");
    QTest::newRow("defaults") << QStringList{} << "/dev/ttyS0" << "/dev/ttyS1" << 0 << false;
    QTest::newRow("adapter on COM2") << QStringList{"--com2", "/dev/ttyUSB0", "--select", "2"}
                                     << "/dev/ttyS0" << "/dev/ttyUSB0" << 2 << false;
    QTest::newRow("select 3") << QStringList{"--select", "3"} << "/dev/ttyS0" << "/dev/ttyS1" << 0 << true;
    QTest::newRow("stray argument") << QStringList{"COM1"} << "/dev/ttyS0" << "/dev/ttyS1" << 0 << true;
}

void ApplicationTest::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, com1);
    QFETCH(QString, com2);
    QFETCH(int, select);
    QFETCH(bool, error);
    const app::ParsedOptions parsed = app::parseOptions(QStringList{"meterlink"} + arguments);
    QCOMPARE(!parsed.error.isEmpty(), error);
    if (error)
        return;
    QCOMPARE(parsed.options.com1Device, com1);
    QCOMPARE(parsed.options.com2Device, com2);
    QCOMPARE(parsed.options.select.value_or(0), select);
}

void ApplicationTest::portThatCannotOpenIsReportedAndChoiceShownAgain()
{
    testsupport::ScriptedDialogs dialogs;
    app::Options options;
    options.com2Device = QStringLiteral("/nonexistent/ttyMeter");
    app::Application program(options, &dialogs);
    program.start();
    program.selection()->CMD2->click();

    QCOMPARE(program.panel(), nullptr);
    QVERIFY(program.selection()->isVisible());
    QCOMPARE(dialogs.messages().size(), 1);
    const QString text = dialogs.messages().first().text;
    QVERIFY2(text.contains(QStringLiteral("/nonexistent/ttyMeter")), qPrintable(text));
    QCOMPARE(dialogs.messages().first().icon, platform::MessageIcon::Critical);
    QVERIFY(program.selection()->CMD2->toolTip().contains(QStringLiteral("/nonexistent/ttyMeter")));
}

void ApplicationTest::closingThePanelEndsTheLinkLostLoopAndReleasesThePort()
{
    // A meter that never answers: the panel ends up in its link-lost loop,
    // which runs inside a polling tick.
    emulator::MeterEmulator meter;
    meter.setFault({emulator::FaultKind::Silence, 0});
    emulator::PtyServer server(meter);
    QVERIFY2(server.open(), qPrintable(server.errorText()));

    testsupport::ScriptedDialogs dialogs;
    app::Options options;
    options.com1Device = server.slavePath();
    options.select = 1;
    app::Application program(options, &dialogs);
    program.start();
    QVERIFY(program.panel());

    bool closed = false;
    qint64 closedAtMs = 0;
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(3000, [&] {
        QCOMPARE(program.panel()->LBLCOMM->text(), QStringLiteral(" NO COM "));
        closedAtMs = clock.elapsed();
        program.panel()->close();
        closed = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(closed, 10000);
    // Back here means the nested loop has let go; it must have done so at once.
    QVERIFY2(clock.elapsed() - closedAtMs < 1000, qPrintable(QString::number(clock.elapsed() - closedAtMs)));
    QVERIFY(!program.port()->isOpen());

    QSerialPort again(server.slavePath());
    QVERIFY2(again.open(QIODevice::ReadWrite), qPrintable(again.errorString()));
}

QTEST_MAIN(ApplicationTest)
#include "tst_application.moc"
