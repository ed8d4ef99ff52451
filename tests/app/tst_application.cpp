#include "app/application.h"
#include "app/options.h"
#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"
#include "link/ui/devicesdialog.h"
#include "link/ui/panel.h"
#include "link/ui/selection.h"
#include "link/ui/silencehint.h"
#include "platform/appsettings.h"
#include "support/frames.h"
#include "support/scripteddialogs.h"
#include "support/testplatform.h"

#include <QLabel>
#include <QPushButton>
#include <QComboBox>
#include <QSerialPort>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using platform::DetectedPort;

namespace {

const DetectedPort ftdi{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "0403:6001", "A50285BI"};
const DetectedPort acm{"/dev/ttyACM0", "USB CDC", "Meter Co", "1a86:7523", "7"};

// The ports "plugged in" right now, changed by the test.
class ScriptedPortLister : public platform::PortLister
{
public:
    QList<DetectedPort> ports() const override { return ports_; }
    QList<DetectedPort> ports_;
};

// A program over scripted dialogs, ports and a settings file of its own.
struct Program
{
    QString settingsFile;
    ScriptedPortLister lister;
    testsupport::ScriptedDialogs dialogs;
    std::unique_ptr<app::Application> application;

    Program(const QString &file, const QList<DetectedPort> &ports, const QStringList &arguments = {})
        : settingsFile(file)
    {
        lister.ports_ = ports;
        const app::ParsedOptions parsed = app::parseOptions(QStringList{"meterlink"} + arguments);
        application = std::make_unique<app::Application>(
            parsed.options, app::Services{&dialogs, &lister, settingsFile});
        application->start();
    }
    live::SELECTION &selection() const { return *application->selection(); }
};

} // namespace

Q_DECLARE_METATYPE(QList<DetectedPort>)

class ApplicationTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void options_data();
    void options();
    void portThatCannotOpenIsReportedAndChoiceShownAgain();
    void selectionShowsTheDevices_data();
    void selectionShowsTheDevices();
    void devicesDialogListsWhatIsThereAndRemembersTheChoice();
    void brokenSettingsAreReportedOnce();
    void silenceHintAndEmptyIndicators();
    void closingThePanelEndsTheLinkLostLoopAndReleasesThePort();
};

void ApplicationTest::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("com1");
    QTest::addColumn<QString>("com2");
    QTest::addColumn<int>("select"); // 0: none
    QTest::addColumn<bool>("error");
    QTest::newRow("defaults") << QStringList{} << "" << "" << 0 << false;
    QTest::newRow("adapter on COM2") << QStringList{"--com2", "/dev/ttyUSB0", "--select", "2"}
                                     << "" << "/dev/ttyUSB0" << 2 << false;
    QTest::newRow("select 3") << QStringList{"--select", "3"} << "" << "" << 0 << true;
    QTest::newRow("stray argument") << QStringList{"COM1"} << "" << "" << 0 << true;
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
    // A meter that never answers: the panel is in its link-lost state.
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

    QTRY_COMPARE_WITH_TIMEOUT(program.panel()->LBLCOMM->text(), QStringLiteral(" NO COM "), 10000);
    program.panel()->close();
    QVERIFY(!program.port()->isOpen());

    QSerialPort again(server.slavePath());
    QVERIFY2(again.open(QIODevice::ReadWrite), qPrintable(again.errorString()));
}

void ApplicationTest::selectionShowsTheDevices_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("remembered1");
    QTest::addColumn<QList<DetectedPort>>("detected");
    QTest::addColumn<QStringList>("shown"); // beside COM1, beside COM2, greyed under COM1
    QTest::addColumn<bool>("noPortNote");

    QTest::newRow("adapter detected") << QStringList{} << "" << QList{ftdi}
                                      << QStringList{"/dev/ttyUSB0 - FT232R USB UART", "/dev/ttyS1", ""}
                                      << false;
    QTest::newRow("remembered adapter unplugged")
        << QStringList{} << "/dev/ttyUSB9" << QList{ftdi, acm}
        << QStringList{"/dev/ttyUSB0 - FT232R USB UART", "/dev/ttyACM0 - USB CDC", "/dev/ttyUSB9 (not present)"}
        << false;
    QTest::newRow("nothing detected") << QStringList{} << "" << QList<DetectedPort>{}
                                      << QStringList{"/dev/ttyS0", "/dev/ttyS1", ""} << true;
    QTest::newRow("argument for this run") << QStringList{"--com1", "emulator"} << "/dev/ttyUSB9" << QList{ftdi}
                                           << QStringList{"the built-in meter emulator", "/dev/ttyS1", ""}
                                           << false;
}

void ApplicationTest::selectionShowsTheDevices()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, remembered1);
    QFETCH(QList<DetectedPort>, detected);
    QFETCH(QStringList, shown);
    QFETCH(bool, noPortNote);

    QTemporaryDir dir;
    const QString file = dir.filePath("meterlink.conf");
    platform::AppSettings(file).setDevice(1, remembered1);
    Program program(file, detected, arguments);
    const live::SELECTION &selection = program.selection();
    QCOMPARE(selection.LBLDEVICE1->text(), shown[0]);
    QCOMPARE(selection.LBLDEVICE2->text(), shown[1]);
    QCOMPARE(selection.LBLGONE1->isVisibleTo(&selection) ? selection.LBLGONE1->text() : QString(), shown[2]);
    QCOMPARE(selection.LBLNOPORT->isVisibleTo(&selection), noPortNote);
    QCOMPARE(selection.CMDEMULATOR->isVisibleTo(&selection), noPortNote);
}

void ApplicationTest::devicesDialogListsWhatIsThereAndRemembersTheChoice()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("meterlink.conf");
    {
        Program program(file, {ftdi});
        program.selection().CMDDEVICES->click();
        live::DevicesDialog *dialog = program.application->devicesDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->table->model()->rowCount(), 1);
        QCOMPARE(dialog->device(1), QStringLiteral("/dev/ttyUSB0"));

        // A second adapter is plugged in while the dialog is up.
        program.lister.ports_ = {ftdi, acm};
        dialog->refreshButton->click();
        QCOMPARE(dialog->table->model()->rowCount(), 2);
        QCOMPARE(dialog->table->model()->index(1, 3).data().toString(), QStringLiteral("1a86:7523"));
        dialog->table->selectRow(1);
        dialog->toCom2->click();
        dialog->com1->setEditText("/dev/pts/7");
        dialog->accept();

        QCOMPARE(program.selection().LBLDEVICE2->text(), QStringLiteral("/dev/ttyACM0 - USB CDC"));
        QCOMPARE(program.application->device(1), QStringLiteral("/dev/pts/7"));
    }
    // The next start: the adapter is there, the pseudo-terminal is not.
    Program next(file, {ftdi, acm});
    QCOMPARE(next.application->device(2), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(next.application->device(1), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(next.selection().LBLGONE1->text(), QStringLiteral("/dev/pts/7 (not present)"));
}

void ApplicationTest::brokenSettingsAreReportedOnce()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("meterlink.conf");
    QFile broken(file);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("[devices\ncom1=/dev/ttyUSB0\n");
    broken.close();

    Program first(file, {ftdi});
    QCOMPARE(first.dialogs.messages().size(), 1);
    QVERIFY2(first.dialogs.messages().first().text.contains(file), qPrintable(first.dialogs.messageTexts().join("|")));
    QVERIFY(first.selection().isVisible());
    Program second(file, {ftdi});
    QCOMPARE(second.dialogs.messages().size(), 0);
}

void ApplicationTest::silenceHintAndEmptyIndicators()
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    shared.portNumber = 1;
    const platform::Platform platform = test.platform();
    live::PANEL panel(platform, shared);
    QVERIFY(panel.load());
    live::SilenceHint hint(panel, "/dev/ttyUSB0");
    const auto *line = panel.findChild<QLabel *>("LBLHINT");
    QVERIFY(line);
    // No meter yet: nothing claims a low battery or a ranging mode.
    QCOMPARE(panel.LBLAUTO->text() + panel.LBLBAT->text(), QString());

    hint.timer().fire(); // five seconds without a frame
    QVERIFY(line->isVisibleTo(&panel));
    QVERIFY2(line->text().contains("/dev/ttyUSB0") && line->text().contains("RS-232"), qPrintable(line->text()));
    const QString tip = panel.LBLCOMM->toolTip();
    for (const char *part : {"/dev/ttyUSB0", "switched on", "RS-232 output", "cable"})
        QVERIFY2(tip.contains(QLatin1String(part)), qPrintable(tip));

    test.port.feed(testsupport::liveFrame(0x42, 0x01, 0x23, 0x40, 0x19 | 0x02));
    panel.Timer6->fire();
    QVERIFY(!line->isVisibleTo(&panel));
    QCOMPARE(panel.LBLCOMM->toolTip(), QString());
    QCOMPARE(panel.LBLBAT->text(), QStringLiteral("LOW BATTERY"));
    QVERIFY(hint.timer().isEnabled()); // watching again from this frame on
}

QTEST_MAIN(ApplicationTest)
#include "tst_application.moc"
