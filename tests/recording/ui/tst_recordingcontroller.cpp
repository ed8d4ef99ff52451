#include "link/ui/clickablelabel.h"
#include "link/ui/panel.h"
#include "recording/ui/recordingfeature.h"
#include "support/testplatform.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using testsupport::ScriptedDialogs;

namespace {

QByteArray frame(unsigned char code)
{
    const char bytes[] = {2, static_cast<char>(code), 0, 0, 0, 0x08, 3};
    return QByteArray(bytes, sizeof bytes);
}

constexpr unsigned char voltsFrame = 0x42;     // "V"
constexpr unsigned char millivoltsFrame = 0x80; // "mV"

struct Rig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform;
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<recording::RecordingFeature> feature;
    QTemporaryDir dir;

    Rig()
    {
        platform = test.platform();
        platform.timerMode = platform::Timer::Mode::Manual;
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        if (!panel->load())
            qFatal("the panel did not load");
        feature = std::make_unique<recording::RecordingFeature>(*panel);
        test.clock.setDate(QDate(2024, 1, 15));
        test.clock.setSecondsSinceMidnight(12 * 3600);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    void chooseFile(const QString &name)
    {
        test.dialogs.queueSaveFile(name);
        panel->CMDSAVE->click();
    }

    void startRecordingInto(const QString &name)
    {
        chooseFile(name);
        panel->CMDSTART->click();
    }

    void showReading(const QString &value, const QString &battery = {})
    {
        panel->LBLVALUE->setText(value);
        panel->LBLFUN->setText(QStringLiteral("V"));
        panel->LBLRAN->setText(QStringLiteral("5 V"));
        panel->LBLAD->setText(QStringLiteral("DC"));
        panel->LBLBAT->setText(battery);
    }

    void tick()
    {
        panel->Timer4->fire();
        test.clock.advance(2);
    }

    // A frame of the given function, decoded by the panel's polling tick.
    void receive(unsigned char code)
    {
        test.port.feed(frame(code));
        panel->Timer6->fire();
    }

    // START, STOP, SAVE AS, OPEN FILE enabled; Timer4 on.
    QList<bool> states() const
    {
        return {panel->CMDSTART->isEnabled(), panel->CMDSTOP->isEnabled(), panel->CMDSAVE->isEnabled(),
                panel->CMDOPEN->isEnabled(), panel->Timer4->isEnabled()};
    }
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const QList<bool> recordingStates{false, true, false, false, true};
const QList<bool> stoppedStates{true, false, true, true, false};

} // namespace

class RecordingControllerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void saveAsChoosesTheFile_data();
    void saveAsChoosesTheFile();
    void saveAsDoesNothingWhileRecording();
    void startWithoutAFileAsksForOne_data();
    void startWithoutAFileAsksForOne();
    void ticksWriteLines();
    void stopReturnsToStopped();
    void recordNumbersRestartAtEveryStart();
    void samplingTimeQuestion_data();
    void samplingTimeQuestion();
    void samplingTimeChangesTheRunningTick();
    void startTakesTheIntervalFromTheLabel();
    void functionChangeStopsARecording_data();
    void functionChangeStopsARecording();
    void fileThatCannotBeOpenedIsTold();
    void lineThatCannotBeWrittenStopsTheRecording();
};

void RecordingControllerTest::saveAsChoosesTheFile_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("chosen") << false;
    QTest::newRow("cancelled") << true;
}

void RecordingControllerTest::saveAsChoosesTheFile()
{
    QFETCH(bool, cancel);
    Rig rig;
    rig.panel->LBLFILE->setText(QStringLiteral("earlier.dat"));
    if (cancel)
        rig.test.dialogs.queueSaveCancel();
    else
        rig.test.dialogs.queueSaveFile(rig.path("rec.dat"));
    rig.panel->CMDSAVE->click();
    QCOMPARE(rig.test.dialogs.fileRequests().size(), 1);
    QCOMPARE(rig.test.dialogs.fileRequests().first().kind, ScriptedDialogs::FileKind::Save);
    QCOMPARE(rig.test.dialogs.fileRequests().first().initialName, QStringLiteral("*.dat"));
    QCOMPARE(rig.panel->LBLFILE->text(), cancel ? QString() : rig.path("rec.dat"));
    QCOMPARE(rig.panel->CMDSTART->isEnabled(), !cancel);
    QVERIFY(!rig.panel->CMDSTOP->isEnabled());
    QVERIFY(!QFile::exists(rig.path("rec.dat"))); // choosing creates nothing
}

void RecordingControllerTest::saveAsDoesNothingWhileRecording()
{
    Rig rig;
    rig.startRecordingInto(rig.path("rec.dat"));
    rig.feature->recording().subloadfile();
    QCOMPARE(rig.test.dialogs.fileRequests().size(), 1);
    QCOMPARE(rig.panel->LBLFILE->text(), rig.path("rec.dat"));
}

void RecordingControllerTest::startWithoutAFileAsksForOne_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("file chosen") << false;
    QTest::newRow("dialog cancelled") << true;
}

void RecordingControllerTest::startWithoutAFileAsksForOne()
{
    QFETCH(bool, cancel);
    Rig rig;
    QCOMPARE(rig.states(), stoppedStates); // no file chosen yet
    if (cancel)
        rig.test.dialogs.queueSaveCancel();
    else
        rig.test.dialogs.queueSaveFile(rig.path("rec.dat"));
    rig.panel->CMDSTART->click();
    QCOMPARE(rig.test.dialogs.messageTexts(), QStringList{"You have to open a file first ."});
    QCOMPARE(rig.test.dialogs.fileRequests().size(), 1);
    QCOMPARE(rig.panel->recordingOn, !cancel);
    QCOMPARE(rig.panel->Label1->isHidden(), cancel);
    if (cancel) {
        QCOMPARE(rig.states(), (QList<bool>{false, false, true, true, false}));
        QVERIFY(!QFile::exists(rig.path("rec.dat")));
    } else {
        QCOMPARE(rig.states(), recordingStates);
        QVERIFY(QFile::exists(rig.path("rec.dat")));
    }
}

void RecordingControllerTest::ticksWriteLines()
{
    Rig rig;
    rig.startRecordingInto(rig.path("rec.dat"));
    QCOMPARE(rig.panel->Timer4->interval(), 2000);
    QVERIFY(rig.panel->Label5->isHidden());
    rig.showReading(QStringLiteral("1.234"));
    rig.tick();
    QVERIFY(!rig.panel->Label5->isHidden());
    QCOMPARE(rig.panel->Label1->text(), QStringLiteral(" 1"));
    rig.showReading(QStringLiteral("-0.012"), QStringLiteral("LOW BATTERY"));
    rig.tick();
    QCOMPARE(rig.panel->Label1->text(), QStringLiteral(" 2"));
    rig.showReading(QStringLiteral("OL"));
    rig.tick();
    QCOMPARE(contents(rig.path("rec.dat")),
             QByteArray("1\t24-01-15\t12:00:00\t 1.234\tV\t5 V\tDC\t\r\n"
                        "2\t24-01-15\t12:00:02\t-0.012\tV\t5 V\tDC\tLow\r\n"
                        "3\t24-01-15\t12:00:04\t   OL  \tV\t5 V\tDC\t\r\n"));
}

void RecordingControllerTest::stopReturnsToStopped()
{
    Rig rig;
    rig.startRecordingInto(rig.path("rec.dat"));
    rig.shared.listFeedOn = 1;
    rig.showReading(QStringLiteral("1.0"));
    rig.tick();
    rig.panel->CMDSTOP->click();
    QCOMPARE(rig.states(), stoppedStates);
    QVERIFY(!rig.panel->recordingOn);
    QVERIFY(rig.panel->Label1->isHidden());
    QVERIFY(rig.panel->Label5->isHidden());
    QCOMPARE(rig.panel->Label1->text(), QStringLiteral("0"));
    QCOMPARE(rig.shared.listFeedOn, qint16(0));
    QVERIFY(!rig.feature->recording().recorder().isOpen());
    QCOMPARE(rig.feature->recording().recorder().recordCount(), 0);
    rig.feature->recording().onTimer4Tick(); // a late tick writes nothing
    QCOMPARE(contents(rig.path("rec.dat")).count('\n'), 1);
}

void RecordingControllerTest::recordNumbersRestartAtEveryStart()
{
    Rig rig;
    rig.startRecordingInto(rig.path("rec.dat"));
    rig.showReading(QStringLiteral("1.0"));
    rig.tick();
    rig.tick();
    rig.panel->CMDSTOP->click();
    rig.panel->CMDSTART->click(); // the same file: appended to
    rig.tick();
    QByteArrayList numbers;
    for (const QByteArray &line : contents(rig.path("rec.dat")).split('\n'))
        if (!line.isEmpty())
            numbers.append(line.left(line.indexOf('\t')));
    QCOMPARE(numbers, (QByteArrayList{"1", "2", "1"}));
    QCOMPARE(rig.panel->Label1->text(), QStringLiteral(" 1"));
}

void RecordingControllerTest::samplingTimeQuestion_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("sampleTick");
    QTest::newRow("2,5") << "2,5" << QStringList{} << "2.5 Sec" << 2;
    QTest::newRow("0.5") << "0.5" << QStringList{"Number Too Small ! Set Value to 1 !"} << "1.0 Sec" << 0;
    QTest::newRow("75") << "75" << QStringList{"Number Too Large ! Set Value to 60 !"} << "60.0 Sec" << 59;
    QTest::newRow("text") << "soon" << QStringList{"Number Too Small ! Set Value to 1 !"} << "1.0 Sec" << 0;
    QTest::newRow("empty") << "" << QStringList{} << "2.0 Sec" << -7;
}

void RecordingControllerTest::samplingTimeQuestion()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, messages);
    QFETCH(QString, label);
    QFETCH(int, sampleTick);
    Rig rig;
    rig.shared.sampleTick = -7;
    rig.shared.pcSampling = 0;
    rig.test.dialogs.queueInput(answer);
    Q_EMIT rig.panel->Label8->clicked();
    QCOMPARE(rig.test.dialogs.prompts().size(), 1);
    const ScriptedDialogs::Prompt prompt = rig.test.dialogs.prompts().first();
    QCOMPARE(prompt.title, QStringLiteral("Input Sampling Time"));
    QCOMPARE(prompt.prompt, QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 60) "));
    QCOMPARE(prompt.defaultAnswer, QStringLiteral("2."));
    QCOMPARE(rig.test.dialogs.messageTexts(), messages);
    QCOMPARE(rig.panel->LBLSAMPLE->text(), label);
    QCOMPARE(int(rig.shared.sampleTick), sampleTick);
    QCOMPARE(rig.shared.pcSampling, qint16(answer.isEmpty() ? 0 : 1));
    QVERIFY(!rig.panel->Timer4->isEnabled());
}

void RecordingControllerTest::samplingTimeChangesTheRunningTick()
{
    Rig rig;
    rig.startRecordingInto(rig.path("rec.dat"));
    rig.test.dialogs.queueInput(QStringLiteral("7.25"));
    rig.feature->recording().askSamplingTime();
    QCOMPARE(rig.panel->Timer4->interval(), 7250);
    QCOMPARE(rig.panel->LBLSAMPLE->text(), QStringLiteral("7.3 Sec"));
    rig.panel->CMDSTOP->click();
    rig.panel->CMDSTART->click();
    QCOMPARE(rig.panel->Timer4->interval(), 7300); // a later start takes the label
}

void RecordingControllerTest::startTakesTheIntervalFromTheLabel()
{
    Rig rig;
    rig.panel->LBLSAMPLE->setText(QStringLiteral("12.5 Sec"));
    rig.startRecordingInto(rig.path("rec.dat"));
    QCOMPARE(rig.panel->Timer4->interval(), 12500);
}

void RecordingControllerTest::functionChangeStopsARecording_data()
{
    QTest::addColumn<bool>("linkLost");
    QTest::newRow("function switch turned") << false;
    QTest::newRow("link lost") << true;
}

void RecordingControllerTest::functionChangeStopsARecording()
{
    QFETCH(bool, linkLost);
    Rig rig;
    rig.receive(voltsFrame);
    rig.startRecordingInto(rig.path("rec.dat"));
    rig.receive(millivoltsFrame); // before the first line: recording goes on
    QVERIFY(rig.panel->recordingOn);
    rig.tick();
    rig.tick();
    QVERIFY(rig.panel->recordingOn);
    if (linkLost) {
        rig.test.pump.after(0.1, [&] { rig.test.port.feed("x"); });
        for (int i = 0; i < 41 && rig.panel->recordingOn; ++i)
            rig.panel->Timer6->fire();
    } else {
        rig.receive(voltsFrame);
    }
    QVERIFY(!rig.panel->recordingOn);
    QCOMPARE(rig.states(), stoppedStates);
    QVERIFY(rig.panel->Label5->isHidden());
    QCOMPARE(contents(rig.path("rec.dat")).count('\n'), 2);
    QVERIFY(contents(rig.path("rec.dat")).contains("\tmV\t"));
}

void RecordingControllerTest::fileThatCannotBeOpenedIsTold()
{
    Rig rig;
    const QString name = rig.path("missing/folder/rec.dat");
    rig.startRecordingInto(name);
    QCOMPARE(rig.test.dialogs.messages().size(), 1);
    const ScriptedDialogs::Message message = rig.test.dialogs.messages().first();
    QVERIFY2(message.text.contains(name), qPrintable(message.text));
    QVERIFY2(message.text.contains(QLatin1String("No such file")), qPrintable(message.text));
    QCOMPARE(message.icon, platform::MessageIcon::Critical);
    QVERIFY(!rig.panel->recordingOn);
    QCOMPARE(rig.states(), stoppedStates);
    QVERIFY(rig.panel->Label1->isHidden());
}

void RecordingControllerTest::lineThatCannotBeWrittenStopsTheRecording()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full on this system");
    Rig rig;
    rig.startRecordingInto(QStringLiteral("/dev/full"));
    QVERIFY(rig.panel->recordingOn);
    rig.showReading(QStringLiteral("1.0"));
    rig.tick();
    QVERIFY(!rig.panel->recordingOn);
    QCOMPARE(rig.states(), stoppedStates);
    QVERIFY(rig.panel->Label5->isHidden());
    QCOMPARE(rig.test.dialogs.messages().size(), 1);
    const QString text = rig.test.dialogs.messages().first().text;
    QVERIFY2(text.startsWith(QLatin1String("Recording stopped")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("/dev/full")), qPrintable(text));
}

QTEST_MAIN(RecordingControllerTest)
#include "tst_recordingcontroller.moc"
