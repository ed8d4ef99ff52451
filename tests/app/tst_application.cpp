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

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSerialPort>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using platform::DetectedPort;
Q_DECLARE_METATYPE(QList<DetectedPort>)

namespace {

const DetectedPort ftdi{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "0403:6001", "A50285BI"};
const DetectedPort acm{"/dev/ttyACM0", "USB CDC", "Meter Co", "1a86:7523", "7"};

// The ports "plugged in" right now, changed by the test.
struct ScriptedPortLister : platform::PortLister
{
    QList<DetectedPort> ports() const override { return plugged; }
    QList<DetectedPort> plugged;
};

// A program over scripted dialogs, ports and a settings file of its own.
struct Program
{
    ScriptedPortLister lister;
    testsupport::ScriptedDialogs dialogs;
    std::unique_ptr<app::Application> application;
    QString optionError;

    Program(const QString &settingsFile, const QList<DetectedPort> &ports, const QStringList &arguments = {})
    {
        lister.plugged = ports;
        const app::ParsedOptions parsed = app::parseOptions(QStringList{"meterlink"} + arguments);
        optionError = parsed.error;
        application = std::make_unique<app::Application>(parsed.options, app::Services{&dialogs, &lister, settingsFile});
        application->start();
    }
    live::SELECTION &selection() const { return *application->selection(); }
};

} // namespace

class ApplicationTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(dir_.isValid()); }
    void portThatCannotOpenIsReportedAndChoiceShownAgain();
    void selectionShowsTheDevices_data();
    void selectionShowsTheDevices();
    void devicesDialogListsWhatIsThereAndRemembersTheChoice();
    void silenceHintAndEmptyIndicators();
    void closingThePanelEndsTheLinkLostLoopAndReleasesThePort();

private:
    QTemporaryDir dir_;
    QString settings(const char *name) const { return dir_.filePath(QLatin1String(name)); }
};

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
    const auto &message = dialogs.messages().first();
    QVERIFY2(message.text.contains(options.com2Device) && message.icon == platform::MessageIcon::Critical, qPrintable(message.text));
    QVERIFY(program.selection()->CMD2->toolTip().contains(options.com2Device));
}

void ApplicationTest::selectionShowsTheDevices_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("settings"); // the file as the last run left it
    QTest::addColumn<QList<DetectedPort>>("detected");
    QTest::addColumn<QStringList>("shown"); // beside COM1, beside COM2, greyed under COM1, "no port" note, messages
    const QString usb0 = QStringLiteral("/dev/ttyUSB0 - FT232R USB UART");
    const QByteArray usb9 = "[devices]\ncom1=/dev/ttyUSB9\n";
    QTest::newRow("adapter detected") << QStringList{} << QByteArray() << QList{ftdi} << QStringList{usb0, "/dev/ttyS1", "", "", ""};
    QTest::newRow("remembered adapter unplugged") << QStringList{} << usb9 << QList{ftdi, acm}
        << QStringList{usb0, "/dev/ttyACM0 - USB CDC", "/dev/ttyUSB9 (not present)", "", ""};
    QTest::newRow("nothing detected") << QStringList{} << QByteArray() << QList<DetectedPort>{}
                                      << QStringList{"/dev/ttyS0", "/dev/ttyS1", "", "note", ""};
    QTest::newRow("argument for this run") << QStringList{"--com1", "emulator"} << usb9 << QList{ftdi}
                                           << QStringList{"the built-in meter emulator", "/dev/ttyS1", "", "", ""};
    QTest::newRow("COM3 refused") << QStringList{"--select", "3"} << QByteArray() << QList{ftdi}
                                  << QStringList{usb0, "/dev/ttyS1", "", "", "option refused"};
    QTest::newRow("stray argument refused") << QStringList{"COM1"} << QByteArray() << QList{ftdi} << QStringList{usb0, "/dev/ttyS1", "", "", "option refused"};
    // Said once: the settings' own table has the next start.
    QTest::newRow("broken settings file reported") << QStringList{} << QByteArray("[devices\ncom1=/dev/ttyUSB0\n") << QList{ftdi}
                                                   << QStringList{usb0, "/dev/ttyS1", "", "", "one naming the file"};
}

void ApplicationTest::selectionShowsTheDevices()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, settings);
    QFETCH(QList<DetectedPort>, detected);
    QFile file(dir_.filePath(QTest::currentDataTag()));
    QVERIFY(settings.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(settings) && file.flush()));
    Program program(file.fileName(), detected, arguments);
    const live::SELECTION &s = program.selection();
    const bool note = s.LBLNOPORT->isVisibleTo(&s);
    QCOMPARE(s.CMDEMULATOR->isVisibleTo(&s), note);
    const QStringList messages = program.dialogs.messageTexts();
    QTEST((QStringList{s.LBLDEVICE1->text(), s.LBLDEVICE2->text(), s.LBLGONE1->isVisibleTo(&s) ? s.LBLGONE1->text() : "", note ? "note" : "",
                       !program.optionError.isEmpty()                                  ? "option refused"
                       : messages.size() == 1 && messages[0].contains(file.fileName()) ? "one naming the file"
                                                                                       : messages.join(u'|')}), "shown");
}

// What the next start makes of the choice: the selection table's rows.
void ApplicationTest::devicesDialogListsWhatIsThereAndRemembersTheChoice()
{
    Program program(settings("d.conf"), {ftdi});
    program.selection().CMDDEVICES->click();
    live::DevicesDialog *dialog = program.application->devicesDialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(QString::number(dialog->table->model()->rowCount()) + dialog->device(1), QStringLiteral("1/dev/ttyUSB0"));
    program.lister.plugged = {ftdi, acm}; // a second adapter while the dialog is up
    dialog->refreshButton->click();
    QCOMPARE(dialog->table->model()->rowCount(), 2);
    QStringList shown; // the captions over the table, then the second adapter as listed
    for (int column = 0; column < dialog->table->model()->columnCount(); ++column)
        shown << dialog->table->model()->headerData(column, Qt::Horizontal).toString()
              << dialog->table->model()->index(1, column).data().toString();
    QCOMPARE(shown, (QStringList{"Device", "/dev/ttyACM0", "Description", "USB CDC", "Manufacturer", "Meter Co",
                                 "VID:PID", "1a86:7523", "Serial number", "7"}));
    dialog->table->selectRow(1);
    dialog->toCom2->click();
    dialog->com1->setEditText("/dev/pts/7");
    dialog->accept();
    QCOMPARE(program.selection().LBLDEVICE2->text(), QStringLiteral("/dev/ttyACM0 - USB CDC"));
    QCOMPARE(program.application->device(1), QStringLiteral("/dev/pts/7"));
    QCOMPARE(platform::AppSettings(settings("d.conf")).device(2), QStringLiteral("/dev/ttyACM0"));
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
    // No meter yet: nothing claims a low battery or a ranging mode.
    QCOMPARE(panel.LBLAUTO->text() + panel.LBLBAT->text(), QString());

    hint.timer().fire(); // five seconds without a frame
    QVERIFY2(line->isVisibleTo(&panel) && line->text().contains("/dev/ttyUSB0") && line->text().contains("RS-232"), qPrintable(line->text()));
    for (const char *part : {"/dev/ttyUSB0", "switched on", "RS-232 output", "cable"})
        QVERIFY2(panel.LBLCOMM->toolTip().contains(QLatin1String(part)), part);

    test.port.feed(testsupport::liveFrame(0x42, 0x01, 0x23, 0x40, 0x19 | 0x02));
    panel.Timer6->fire();
    QVERIFY(!line->isVisibleTo(&panel) && panel.LBLCOMM->toolTip().isEmpty());
    QCOMPARE(panel.LBLBAT->text(), QStringLiteral("LOW BATTERY"));
    QVERIFY(hint.timer().isEnabled()); // watching again from this frame on
}

void ApplicationTest::closingThePanelEndsTheLinkLostLoopAndReleasesThePort()
{
    emulator::MeterEmulator meter; // never answers: the panel goes to its link-lost state
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

QTEST_MAIN(ApplicationTest)
#include "tst_application.moc"
